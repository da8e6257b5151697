#pragma once
// "Clipboard Manager": the maps an import put aside, one line each
// ("Clipboard #0", ...), with the selected map's preview. "Delete selection"
// and "Clear list" change the list at once; "Past into map" hands the chosen
// entry back, and the session places it as a pasted block.

#include <QDialog>

#include <optional>

class QListWidget;
class QPushButton;

namespace tsl {

struct CB_Manager;
class ClipboardPreview;

class TClipboardManagerBox : public QDialog {
    Q_OBJECT
public:
    explicit TClipboardManagerBox(QWidget* parent = nullptr);

    // Shows `manager`'s entries modally: the index of the entry chosen with
    // "Past into map", or nothing when the dialog was closed otherwise.
    std::optional<int> ShowClipboardManager(CB_Manager& manager);

private:
    void ShowSelected();
    void EnableButtons();
    void onDeleteSelection();
    void onClearList();

    CB_Manager* manager_ = nullptr; // while the dialog is shown
    QListWidget* list_;
    ClipboardPreview* preview_;
    QPushButton* delete_;
    QPushButton* clear_;
    QPushButton* paste_;
};

} // namespace tsl
