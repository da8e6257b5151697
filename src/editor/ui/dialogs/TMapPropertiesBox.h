#pragma once
// "Map Properties": the current map's name and size. The dialog refuses
// sizes outside 1 ... 256 and asks whether a new size is for every map; it
// hands back the choice, and the session renames and resizes.

#include "core/Prompter.h"
#include "editor/operations/MapOperations.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QSpinBox;

namespace tsl {

struct MapList;

class TMapPropertiesBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapPropertiesBox(Prompter& prompter, QWidget* parent = nullptr);

    // Shows the dialog modally for `map`, its name cut to `maxNameLength`
    // characters: the choice after "OK", nothing after "Cancel". The choice
    // holds the name as Windows-1252 bytes: typed text that Windows-1252
    // cannot hold is refused, and a name not edited comes back whole.
    std::optional<MapPropertiesChoice> ShowMapProperties(const MapList& map, int maxNameLength);

private:
    // Leaving a size field above 256: the message, and the field shows 256.
    bool CorrectTooLarge(QSpinBox* field, const char* text, const char* caption);
    void onOk();

    Prompter& prompter_;
    QLineEdit* name_;
    QSpinBox* width_;
    QSpinBox* height_;
    std::string shownName_; // the map's name, byte for byte
    QString shownText_;     // as the field showed it
    int shownWidth_ = 0;
    int shownHeight_ = 0;
    MapPropertiesChoice choice_;
};

} // namespace tsl
