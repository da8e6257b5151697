#include "editor/ui/dialogs/TMapPropertiesBox.h"

#include "core/ui/DialogButtons.h"
#include "core/ui/NameText.h"
#include "core/MapHandler.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

namespace tsl {

namespace {

// A size field: digits only, at most three, the arrows stepping within
// 1 ... 256. Larger values and an empty field can be typed, so that they
// are refused with a message rather than swallowed by the field.
class SizeSpinBox : public QSpinBox {
public:
    SizeSpinBox()
    {
        setRange(0, 999);
        setAccelerated(true);
    }
    void stepBy(int steps) override { setValue(std::clamp(value() + steps, 1, kMaxMapSize)); }

protected:
    QValidator::State validate(QString& input, int& /*pos*/) const override
    {
        static const QRegularExpression digits("^[0-9]{0,3}$");
        return digits.match(input).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
    }
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < kMaxMapSize)
            enabled |= StepUpEnabled;
        if (value() > 1)
            enabled |= StepDownEnabled;
        return enabled;
    }
};

// The field's number; nothing when it is empty.
std::optional<int> FieldValue(const QSpinBox* field)
{
    const QString text = field->cleanText();
    if (text.isEmpty())
        return std::nullopt;
    return text.toInt();
}

} // namespace

TMapPropertiesBox::TMapPropertiesBox(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName("mapPropertiesBox");
    setWindowTitle("Map Properties");
    name_ = new QLineEdit;
    name_->setObjectName("mapNameEdit");
    width_ = new SizeSpinBox;
    width_->setObjectName("mapWidthBox");
    height_ = new SizeSpinBox;
    height_->setObjectName("mapHeightBox");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Map name:"), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(new QLabel("Map size:"), 1, 0);
    auto* size = new QHBoxLayout;
    size->addWidget(width_);
    size->addWidget(new QLabel("x"));
    size->addWidget(height_);
    size->addStretch(1);
    grid->addLayout(size, 1, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMapPropertiesBox::onOk);
    connect(width_, &QSpinBox::editingFinished, this,
            [this] { CorrectTooLarge(width_, "The maximum map width is 256!", "Map width error"); });
    connect(height_, &QSpinBox::editingFinished, this,
            [this] { CorrectTooLarge(height_, "The maximum map height is 256!", "Map height error"); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<MapPropertiesChoice> TMapPropertiesBox::ShowMapProperties(const MapList& map, int maxNameLength)
{
    shownName_ = MapNameText(map.Name);
    name_->setMaxLength(maxNameLength);
    name_->setText(NameToQt(shownName_).left(maxNameLength));
    shownText_ = name_->text();
    shownWidth_ = map.Width;
    shownHeight_ = map.Height;
    width_->setValue(shownWidth_);
    height_->setValue(shownHeight_);
    name_->setFocus();
    name_->selectAll();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return choice_;
}

bool TMapPropertiesBox::CorrectTooLarge(QSpinBox* field, const char* text, const char* caption)
{
    const std::optional<int> value = FieldValue(field);
    if (!value || *value <= kMaxMapSize)
        return false;
    // The field is corrected before the box shows: the box takes the focus,
    // and leaving the field again must not ask twice.
    field->setValue(kMaxMapSize);
    prompter_.Message(text, caption, MessageIcon::Error, Buttons::Ok);
    return true;
}

void TMapPropertiesBox::onOk()
{
    if (CorrectTooLarge(width_, "The maximum map width is 256!", "Map width error") ||
        CorrectTooLarge(height_, "The maximum map height is 256!", "Map height error"))
        return;
    const std::optional<int> width = FieldValue(width_);
    const std::optional<int> height = FieldValue(height_);
    for (auto [failure, field] : {std::pair{CheckMapWidth(width), width_},
                                  std::pair{CheckMapHeight(height), height_}}) {
        if (failure) {
            prompter_.Show(*failure);
            field->setFocus();
            return;
        }
    }
    // The name as it was, byte for byte, unless it was edited.
    std::string name = shownName_;
    if (name_->text() != shownText_) {
        auto typed = NameFromQt(name_->text(), "map name", "Map name error");
        if (!typed) {
            prompter_.Show(typed.failure());
            name_->setFocus();
            return;
        }
        name = std::move(*typed);
    }
    choice_ = MapPropertiesChoice{std::move(name), *width, *height, false};
    if (*width != shownWidth_ || *height != shownHeight_)
        choice_.AllMaps = prompter_.Message("Do you wish to apply the new map size to all maps?", "Map size",
                                            MessageIcon::Question, Buttons::YesNo) == Answer::Yes;
    accept();
}

} // namespace tsl
