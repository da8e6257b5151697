#pragma once
// A short edit for a hexadecimal tag ("ABCD", "A7"). Anything may be typed;
// when the user leaves the edit its text is mapped onto hexadecimal digits
// in upper case, so the dialogs only ever read digits they can convert.
//
// Beside it, the controls that the structure and configuration dialogs
// share: the "Map compression" choice and the three tag edits with their
// defaults button, and the order in which both dialogs check them.

#include <QLineEdit>
#include <QString>

#include <optional>
#include <string>

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace tsl {

class HexEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit HexEdit(int maxDigits, QWidget* parent = nullptr);

    // Maps the text onto hexadecimal digits now (also done on leaving).
    void Sanitise();
    // The value of the sanitised text; nothing when it is empty.
    std::optional<int> Value();
};

// "Map compression": "RLEW compression" (id 0) and "Carmack compression"
// (id 1). Radio buttons are named <prefix>Rlew and <prefix>Carmack.
struct CompressionChoice {
    QGroupBox* group = nullptr;
    QButtonGroup* buttons = nullptr;

    static CompressionChoice Make(const QString& prefix, QWidget* parent);
    // -1 when no item is chosen.
    int Chosen() const;
    // Chooses item `index`; any other value than 0 or 1 chooses none.
    void Choose(int index);
};

// "Compression tags (Expert only)": "RLEW-Tag:", "NEARTAG:", "FARTAG:" and a
// defaults button. Named <prefix>RlewTag, <prefix>NearTag, <prefix>FarTag and
// <prefix>Defaults.
struct TagEdits {
    QGroupBox* group = nullptr;
    HexEdit* rlewTag = nullptr;
    HexEdit* nearTag = nullptr;
    HexEdit* farTag = nullptr;
    QPushButton* defaults = nullptr;

    static TagEdits Make(const QString& prefix, const QString& defaultsText, QWidget* parent);
    void SetTexts(const QString& rlew, const QString& nearText, const QString& farText);
    // The tags as 4, 2 and 2 upper-case digits.
    void SetValues(int rlew, int nearValue, int farValue);
    void Sanitise();
};

// The message for the first choice missing, in the order both dialogs
// check them: compression, RLEW tag, near tag, far tag.
std::optional<std::string> FirstMissingChoice(const CompressionChoice& compression, TagEdits& tags);

// The Wolfenstein 3-D tags, which most games kept.
inline constexpr const char* kDefaultRlewText = "ABCD";
inline constexpr const char* kDefaultNearText = "A7";
inline constexpr const char* kDefaultFarText = "A8";

} // namespace tsl
