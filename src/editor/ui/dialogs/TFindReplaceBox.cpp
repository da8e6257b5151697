#include "editor/ui/dialogs/TFindReplaceBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tsl {

namespace {

QPushButton* AddButton(QVBoxLayout* column, const char* text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

// A group of two exclusive choices.
QGroupBox* Choice(const char* title, std::pair<const char*, const char*> a, std::pair<const char*, const char*> b,
                  QWidget* parent, QRadioButton*& first, QRadioButton*& second)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    first = new QRadioButton(QString::fromLatin1(a.first), group);
    first->setObjectName(QString::fromLatin1(a.second));
    second = new QRadioButton(QString::fromLatin1(b.first), group);
    second->setObjectName(QString::fromLatin1(b.second));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
}

} // namespace

struct TFindReplaceBox::Impl {
    TFindReplaceBox* box;
    Prompter& prompter;
    FindRequest request;
    QComboBox* plane = nullptr;
    QLineEdit* findWhat = nullptr;
    QLineEdit* replaceWith = nullptr;
    QRadioButton* currentMap = nullptr;
    QRadioButton* allMaps = nullptr;
    QRadioButton* forward = nullptr;
    QRadioButton* backward = nullptr;

    Impl(TFindReplaceBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build()
    {
        box->setWindowTitle(QStringLiteral("Find & Replace"));
        plane = new QComboBox(box);
        plane->setObjectName(QStringLiteral("planeList"));
        findWhat = new QLineEdit(box);
        findWhat->setObjectName(QStringLiteral("findEdit"));
        replaceWith = new QLineEdit(box);
        replaceWith->setObjectName(QStringLiteral("replaceEdit"));
        auto* fields = new QFormLayout;
        fields->addRow(QStringLiteral("Which plane:"), plane);
        fields->addRow(QStringLiteral("Find what:"), findWhat);
        fields->addRow(QStringLiteral("Replace with:"), replaceWith);
        auto* choices = new QHBoxLayout;
        choices->addWidget(Choice("Replace Scope", {"Current map", "currentMapButton"}, {"All maps", "allMapsButton"},
                                  box, currentMap, allMaps));
        choices->addWidget(
            Choice("Direction", {"Forward", "forwardButton"}, {"Backward", "backwardButton"}, box, forward, backward));
        auto* left = new QVBoxLayout;
        left->addLayout(fields);
        left->addLayout(choices);

        auto* buttons = new QVBoxLayout;
        const std::pair<FindAction, std::pair<const char*, const char*>> actions[] = {
            {FindAction::FindNext, {"Find Next", "findNextButton"}},
            {FindAction::FindAll, {"Find All", "findAllButton"}},
            {FindAction::Replace, {"Replace", "replaceButton"}},
            {FindAction::ReplaceAll, {"Replace All", "replaceAllButton"}},
        };
        for (const auto& [action, button] : actions) {
            QPushButton* push = AddButton(buttons, button.first, button.second, box);
            QObject::connect(push, &QPushButton::clicked, box, [this, a = action]() { Act(a); });
        }
        QPushButton* cancel = AddButton(buttons, "Cancel", "cancelButton", box);
        QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
        buttons->addStretch();
        auto* layout = new QHBoxLayout(box);
        layout->addLayout(left);
        layout->addLayout(buttons);
    }

    void Fill(const FindFields& shown, const std::vector<std::string>& planeNames)
    {
        plane->clear();
        for (const std::string& name : planeNames)
            plane->addItem(QString::fromStdString(name));
        plane->setCurrentIndex(0);
        findWhat->setText(QString::fromStdString(shown.FindWhat));
        replaceWith->setText(QString::fromStdString(shown.ReplaceWith));
        (shown.Scope == ReplaceScope::AllMaps ? allMaps : currentMap)->setChecked(true);
        (shown.Direction == FindDirection::Backward ? backward : forward)->setChecked(true);
        request = {};
    }

    FindFields Fields() const
    {
        FindFields fields;
        fields.Plane = std::max(plane->currentIndex(), 0);
        fields.FindWhat = findWhat->text().toStdString();
        fields.ReplaceWith = replaceWith->text().toStdString();
        fields.Scope = allMaps->isChecked() ? ReplaceScope::AllMaps : ReplaceScope::CurrentMap;
        fields.Direction = backward->isChecked() ? FindDirection::Backward : FindDirection::Forward;
        return fields;
    }

    void Act(FindAction action)
    {
        if (auto refusal = ValidateFind(Fields(), action)) {
            prompter.Show(*refusal);
            return;
        }
        request.Action = action;
        box->accept();
    }
};

TFindReplaceBox::TFindReplaceBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TFindReplaceBox::~TFindReplaceBox() = default;

FindRequest TFindReplaceBox::ShowFindReplace(const FindFields& shown, const std::vector<std::string>& planeNames)
{
    d->Fill(shown, planeNames);
    exec();
    // Every way out keeps the fields; without an action it counts as a
    // cancel, so that no "not found" is said for a search that never ran.
    d->request.Fields = d->Fields();
    return d->request;
}

} // namespace tsl
