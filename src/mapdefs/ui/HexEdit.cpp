#include "mapdefs/ui/HexEdit.h"

#include "mapdefs/StructureStore.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tsl {

HexEdit::HexEdit(int maxDigits, QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(maxDigits);
    // Room for the digits and a little margin, whatever the font.
    setMaximumWidth(fontMetrics().horizontalAdvance(QString(maxDigits + 2, QLatin1Char('W'))) + 12);
    connect(this, &QLineEdit::editingFinished, this, &HexEdit::Sanitise);
}

void HexEdit::Sanitise()
{
    // One digit per character typed: a character beyond ASCII counts as one
    // above "z" (not as its several UTF-8 bytes).
    std::string ascii;
    for (QChar c : text())
        ascii.push_back(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7F');
    const QString sanitised = QString::fromStdString(HexEditText(ascii));
    if (sanitised != text())
        setText(sanitised);
}

std::optional<int> HexEdit::Value()
{
    Sanitise();
    return HexTextValue(text().toStdString());
}

CompressionChoice CompressionChoice::Make(const QString& prefix, QWidget* parent)
{
    CompressionChoice choice;
    choice.group = new QGroupBox(QStringLiteral("Map compression"), parent);
    choice.buttons = new QButtonGroup(choice.group);
    auto* layout = new QVBoxLayout(choice.group);
    auto* rlew = new QRadioButton(QStringLiteral("RLEW compression"), choice.group);
    auto* carmack = new QRadioButton(QStringLiteral("Carmack compression"), choice.group);
    rlew->setObjectName(prefix + QStringLiteral("Rlew"));
    carmack->setObjectName(prefix + QStringLiteral("Carmack"));
    choice.buttons->addButton(rlew, 0);
    choice.buttons->addButton(carmack, 1);
    layout->addWidget(rlew);
    layout->addWidget(carmack);
    return choice;
}

int CompressionChoice::Chosen() const
{
    return buttons->checkedId();
}

void CompressionChoice::Choose(int index)
{
    if (QAbstractButton* button = buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group will not uncheck its last checked button.
    buttons->setExclusive(false);
    for (QAbstractButton* button : buttons->buttons())
        button->setChecked(false);
    buttons->setExclusive(true);
}

TagEdits TagEdits::Make(const QString& prefix, const QString& defaultsText, QWidget* parent)
{
    TagEdits tags;
    tags.group = new QGroupBox(QStringLiteral("Compression tags (Expert only)"), parent);
    tags.rlewTag = new HexEdit(4, tags.group);
    tags.nearTag = new HexEdit(2, tags.group);
    tags.farTag = new HexEdit(2, tags.group);
    tags.defaults = new QPushButton(defaultsText, tags.group);
    tags.rlewTag->setObjectName(prefix + QStringLiteral("RlewTag"));
    tags.nearTag->setObjectName(prefix + QStringLiteral("NearTag"));
    tags.farTag->setObjectName(prefix + QStringLiteral("FarTag"));
    tags.defaults->setObjectName(prefix + QStringLiteral("Defaults"));
    tags.defaults->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("RLEW-Tag:"), tags.rlewTag);
    form->addRow(QStringLiteral("NEARTAG:"), tags.nearTag);
    form->addRow(QStringLiteral("FARTAG:"), tags.farTag);
    auto* layout = new QHBoxLayout(tags.group);
    layout->addLayout(form);
    layout->addWidget(tags.defaults, 0, Qt::AlignBottom);
    return tags;
}

void TagEdits::SetTexts(const QString& rlew, const QString& nearText, const QString& farText)
{
    rlewTag->setText(rlew);
    nearTag->setText(nearText);
    farTag->setText(farText);
}

void TagEdits::SetValues(int rlew, int nearValue, int farValue)
{
    SetTexts(QString::fromStdString(HexText(rlew, 4)), QString::fromStdString(HexText(nearValue, 2)),
             QString::fromStdString(HexText(farValue, 2)));
}

void TagEdits::Sanitise()
{
    rlewTag->Sanitise();
    nearTag->Sanitise();
    farTag->Sanitise();
}

std::optional<std::string> FirstMissingChoice(const CompressionChoice& compression, TagEdits& tags)
{
    // A click on OK may come before the edit left has been sanitised.
    tags.Sanitise();
    if (compression.Chosen() < 0)
        return "No map compression has been chosen!";
    if (tags.rlewTag->text().isEmpty())
        return "The RLEW-Tag doesn't have a value!";
    if (tags.nearTag->text().isEmpty())
        return "The NEARTAG doesn't have a value!";
    if (tags.farTag->text().isEmpty())
        return "The FARTAG doesn't have a value!";
    return std::nullopt;
}

} // namespace tsl
