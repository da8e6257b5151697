#include "symbols/ui/TMapSymbolTypeBox.h"

#include "core/ui/NameText.h"
#include "symbols/SymbolEditing.h"
#include "symbols/ui/SymbolWidgets.h"
#include "symbols/ui/TAddMSTBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tsl {

namespace {

QString EntryText(const MapSymbolTypes& type)
{
    return NameToQt(type.TypeID + " - " + type.TypeName);
}

QPushButton* MakeButton(const char* text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

struct TMapSymbolTypeBox::Impl {
    TMapSymbolTypeBox* box;
    Prompter& prompter;
    TAddMSTBox* addBox;
    std::vector<MapSymbolTypes> types;
    bool cancelled = false;
    QListWidget* list = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* id = nullptr;
    QPushButton* deleteButton = nullptr;
    // The row whose name and id the edits hold: what is typed there belongs
    // to it, whichever row is current by the time the edit is left.
    int shownRow = -1;

    Impl(TMapSymbolTypeBox* owner, Prompter& p) : box(owner), prompter(p), addBox(new TAddMSTBox(p, owner)) {}

    void Build();
    int Selected() const { return list->currentRow(); }
    void Refill(int select);
    void ShowSelected();
    void NameLeft();
    void IdLeft();
    void Move(MoveStep step);
    void Add();
    void Delete();
};

void TMapSymbolTypeBox::Impl::Build()
{
    box->setObjectName("mapSymbolTypeBox");
    box->setWindowTitle("Map Symbol Types");

    auto* select = new QGroupBox("Select map symbol type");
    list = new QListWidget;
    list->setObjectName("typeList");
    auto* addButton = MakeButton("Add map symbol type", "addTypeButton");
    deleteButton = MakeButton("Delete map symbol type", "deleteTypeButton");
    auto* selectLayout = new QGridLayout(select);
    selectLayout->addWidget(list, 0, 0);
    selectLayout->addLayout(MakeMoveButtons(box, "type", [this](MoveStep step) { Move(step); }), 0, 1);
    auto* addDelete = new QHBoxLayout;
    addDelete->addWidget(addButton);
    addDelete->addWidget(deleteButton);
    selectLayout->addLayout(addDelete, 1, 0, 1, 2);

    auto* edit = new QGroupBox("Edit map symbol type information");
    name = new QLineEdit;
    name->setObjectName("typeNameEdit");
    id = new QLineEdit;
    id->setObjectName("typeIdEdit");
    auto* editLayout = new QGridLayout(edit);
    editLayout->addWidget(new QLabel("Name:"), 0, 0);
    editLayout->addWidget(name, 0, 1);
    editLayout->addWidget(new QLabel("ID:"), 1, 0);
    editLayout->addWidget(id, 1, 1);

    auto* ok = MakeButton("OK", "okButton");
    ok->setDefault(true);
    auto* close = MakeButton("Close", "closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(select);
    layout->addWidget(edit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The edits follow the current row however it changes: a press, the
    // keyboard, a move.
    QObject::connect(list, &QListWidget::currentRowChanged, box, [this] { ShowSelected(); });
    QObject::connect(addButton, &QPushButton::clicked, box, [this] { Add(); });
    QObject::connect(deleteButton, &QPushButton::clicked, box, [this] { Delete(); });
    QObject::connect(ok, &QPushButton::clicked, box, [this] {
        // Return in an edit presses "OK" without leaving the edit.
        if (name->hasFocus())
            NameLeft();
        if (id->hasFocus())
            IdLeft();
        cancelled = false;
        box->accept();
    });
    QObject::connect(close, &QPushButton::clicked, box, [this] {
        cancelled = true;
        box->done(QDialog::Rejected);
    });
    OnLeave(name, [this] { NameLeft(); });
    OnLeave(id, [this] { IdLeft(); });
}

void TMapSymbolTypeBox::Impl::Refill(int select)
{
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const MapSymbolTypes& type : types)
            list->addItem(EntryText(type));
        if (select >= 0 && select < list->count())
            list->setCurrentRow(select);
    }
    if (list->currentItem())
        list->scrollToItem(list->currentItem());
    ShowSelected();
}

void TMapSymbolTypeBox::Impl::ShowSelected()
{
    const int row = Selected();
    const bool valid = row >= 0 && row < static_cast<int>(types.size());
    const MapSymbolTypes* type = valid ? &types[static_cast<std::size_t>(row)] : nullptr;
    shownRow = valid ? row : -1;
    name->setText(type ? NameToQt(type->TypeName) : QString());
    id->setText(type ? NameToQt(type->TypeID) : QString());
    const bool editable = type && !IsBuiltInTypeId(type->TypeID);
    id->setEnabled(editable);
    deleteButton->setEnabled(editable);
}

void TMapSymbolTypeBox::Impl::NameLeft()
{
    const int row = shownRow;
    if (row < 0)
        return;
    auto typed = NameFromQt(name->text(), "map symbol type name", kSymbolTypeErrorCaption);
    if (!typed) {
        prompter.Show(typed.failure());
        return;
    }
    if (auto failure = RenameSymbolType(types, row, *typed)) {
        prompter.Show(*failure);
        return;
    }
    list->item(row)->setText(EntryText(types[static_cast<std::size_t>(row)]));
}

void TMapSymbolTypeBox::Impl::IdLeft()
{
    const int row = shownRow;
    if (row < 0 || !id->isEnabled())
        return;
    auto typed = NameFromQt(id->text(), "map symbol type ID", kSymbolTypeErrorCaption);
    if (!typed) {
        prompter.Show(typed.failure());
        return;
    }
    if (auto failure = ChangeSymbolTypeId(types, row, *typed)) {
        prompter.Show(*failure);
        if (failure->text == kIdExistsText)
            id->clear();
        return;
    }
    list->item(row)->setText(EntryText(types[static_cast<std::size_t>(row)]));
}

void TMapSymbolTypeBox::Impl::Move(MoveStep step)
{
    Refill(MoveEntry(types, Selected(), step));
    list->setFocus();
}

void TMapSymbolTypeBox::Impl::Add()
{
    const auto added = addBox->AskType();
    if (!added)
        return;
    auto index = AddSymbolType(types, added->name, added->id);
    if (!index) {
        prompter.Show(index.failure());
        return;
    }
    Refill(*index);
    list->setFocus();
}

void TMapSymbolTypeBox::Impl::Delete()
{
    auto next = DeleteSymbolType(types, Selected());
    if (!next) {
        prompter.Show(next.failure());
        return;
    }
    Refill(*next);
    list->setFocus();
}

TMapSymbolTypeBox::TMapSymbolTypeBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapSymbolTypeBox::~TMapSymbolTypeBox() = default;

TAddMSTBox* TMapSymbolTypeBox::AddBox() const
{
    return d->addBox;
}

std::optional<std::vector<MapSymbolTypes>> TMapSymbolTypeBox::ShowSymbolTypes(const std::vector<MapSymbolTypes>& types)
{
    d->cancelled = false;
    d->types = types;
    d->Refill(0);
    exec();
    if (d->cancelled)
        return std::nullopt;
    return d->types;
}

void TMapSymbolTypeBox::reject()
{
    // The window's frame and Escape close as "OK" does; "Close" cancels.
    if (!d->cancelled)
        accept();
    else
        QDialog::reject();
}

} // namespace tsl
