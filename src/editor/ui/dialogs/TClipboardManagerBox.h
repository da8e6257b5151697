#pragma once
// "Clipboard Manager": the maps an import put aside, one line each
// ("Clipboard #0", ...), with the selected map's preview. "Delete selection"
// and "Clear list" change the list at once; "Past into map" hands the chosen
// entry back, and the session places it as a pasted block.

#include "core/Image.h"

#include <QDialog>

#include <functional>
#include <optional>

class QListWidget;
class QPushButton;

namespace tsl {

struct CB_Manager;
struct CB_Object;
class ClipboardPreview;

class TClipboardManagerBox : public QDialog {
    Q_OBJECT
public:
    explicit TClipboardManagerBox(QWidget* parent = nullptr);

    // The picture of an entry, for a view that draws otherwise than the
    // entries' own previews (the game's graphics).
    using Previewer = std::function<Image(const CB_Object& entry)>;

    // Shows `manager`'s entries modally: the index of the entry chosen with
    // "Past into map", or nothing when the dialog was closed otherwise. The
    // preview is the entry's own, or what `previewer` draws.
    std::optional<int> ShowClipboardManager(CB_Manager& manager, Previewer previewer = {});

private:
    void ShowSelected();
    void EnableButtons();
    void onDeleteSelection();
    void onClearList();

    CB_Manager* manager_ = nullptr; // while the dialog is shown
    Previewer previewer_;
    QListWidget* list_;
    ClipboardPreview* preview_;
    QPushButton* delete_;
    QPushButton* clear_;
    QPushButton* paste_;
};

} // namespace tsl
