#include "symbols/ui/TMapSymbolsBox.h"

#include "core/ui/NameText.h"
#include "symbols/SymbolEditing.h"
#include "symbols/SymbolFiles.h"
#include "symbols/SymbolTables.h"
#include "symbols/ui/SymbolWidgets.h"
#include "symbols/ui/TAddMSBox.h"
#include "symbols/ui/TMapSymbolTypeBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>

namespace tsl {

namespace {

constexpr int kPreviewCell = 14;               // one picture pixel in the preview
constexpr int kPreviewSize = 8 * kPreviewCell; // 112
constexpr int kColorCell = 16;
constexpr int kSwatch = 24;
const char* const kDirectionNames[] = {"None", "East",      "Northeast", "North",    "Northwest",
                                       "West", "Southwest", "South",     "Southeast"};

QColor PaletteColor(int index)
{
    return QColor::fromRgb(PatternPalette[static_cast<std::size_t>(index)]);
}

// The picture being painted, 14 times enlarged with a black grid. A press
// paints a cell with the colour of its button, a move with the button held
// paints on, and the release hands the picture over.
class SymbolPreview : public QWidget {
public:
    std::function<std::optional<std::uint32_t>(Qt::MouseButton)> colourFor;
    std::function<void(const Image&)> painted;

    SymbolPreview()
    {
        setObjectName("symbolPreview");
        setFixedSize(kPreviewSize, kPreviewSize);
    }
    void SetPicture(const Image& picture)
    {
        picture_ = picture.empty() ? Image(kBlockSize, kBlockSize, kBlackPixel) : picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int y = 0; y < kBlockSize; ++y)
            for (int x = 0; x < kBlockSize; ++x)
                painter.fillRect(x * kPreviewCell, y * kPreviewCell, kPreviewCell, kPreviewCell,
                                 QColor::fromRgb(picture_.Pixel(x, y)));
        painter.setPen(Qt::black);
        for (int i = 0; i < kBlockSize; ++i) {
            painter.drawLine(i * kPreviewCell, 0, i * kPreviewCell, kPreviewSize - 1);
            painter.drawLine(0, i * kPreviewCell, kPreviewSize - 1, i * kPreviewCell);
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const auto colour = colourFor(event->button());
        if (!colour)
            return;
        colour_ = *colour;
        painting_ = true;
        PaintAt(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (painting_)
            PaintAt(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (!painting_)
            return;
        painting_ = false;
        painted(picture_);
    }

private:
    void PaintAt(QPoint at)
    {
        if (at.x() < 0 || at.y() < 0)
            return;
        picture_.SetPixel(at.x() / kPreviewCell, at.y() / kPreviewCell, colour_);
        update();
    }

    Image picture_{kBlockSize, kBlockSize, kBlackPixel};
    bool painting_ = false;
    std::uint32_t colour_ = kBlackPixel;
};

// The 16 pattern colours, 4 x 4 in digit order; a left click chooses the
// foreground colour, a right click the background colour.
class ColorGrid : public QWidget {
public:
    std::function<void(Qt::MouseButton, int)> chosen;

    ColorGrid()
    {
        setObjectName("colorGrid");
        setFixedSize(4 * kColorCell, 4 * kColorCell);
    }
    static QPoint CellCentre(int index)
    {
        return QPoint((index % 4) * kColorCell + kColorCell / 2, (index / 4) * kColorCell + kColorCell / 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(Qt::gray);
        for (int i = 0; i < 16; ++i) {
            const QRect cell((i % 4) * kColorCell, (i / 4) * kColorCell, kColorCell - 1, kColorCell - 1);
            painter.fillRect(cell, PaletteColor(i));
            painter.drawRect(cell);
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        pressed_ = rect().contains(at) ? (at.y() / kColorCell) * 4 + at.x() / kColorCell : -1;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (pressed_ >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
            chosen(event->button(), pressed_);
        pressed_ = -1;
    }

private:
    int pressed_ = -1;
};

// The foreground colour in front of the background colour.
class ColorSwatches : public QWidget {
public:
    int foreground = 0;
    int background = 15;

    ColorSwatches()
    {
        setObjectName("colorSwatches");
        setFixedSize(kSwatch * 3 / 2 + 1, kSwatch * 3 / 2 + 1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(Qt::black);
        const int offset = kSwatch / 2;
        painter.fillRect(offset, offset, kSwatch, kSwatch, PaletteColor(background));
        painter.drawRect(offset, offset, kSwatch, kSwatch);
        painter.fillRect(0, 0, kSwatch, kSwatch, PaletteColor(foreground));
        painter.drawRect(0, 0, kSwatch, kSwatch);
    }
};

QPushButton* MakeButton(const char* text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

struct TMapSymbolsBox::Impl {
    TMapSymbolsBox* box;
    Prompter& prompter;
    TAddMSBox* addBox;
    TMapSymbolTypeBox* typeBox;
    const SymbolTables* tables = nullptr;
    std::optional<SymbolWorkingCopy> copy;
    bool mapsChanged = false;
    int plane = 0;

    QComboBox* planes = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* direction = nullptr;
    QComboBox* type = nullptr;
    ColorGrid* grid = nullptr;
    ColorSwatches* swatches = nullptr;
    SymbolPreview* preview = nullptr;

    Impl(TMapSymbolsBox* owner, Prompter& p)
        : box(owner), prompter(p), addBox(new TAddMSBox(p, owner)), typeBox(new TMapSymbolTypeBox(p, owner))
    {
    }

    void Build();
    QGroupBox* BuildSymbolGroup();
    QGroupBox* BuildInformationGroup();
    int Selected() const { return list->currentRow(); }
    bool HasSelection() const { return copy && Selected() >= 0 && Selected() < list->count(); }
    const WorkingSymbol& Symbol() const { return copy->Symbols(plane)[static_cast<std::size_t>(Selected())]; }
    void Refill(int select);
    void FillTypes();
    void ShowSelected();
    void PlaneChosen(int index);
    bool NameLeft();
    void TypeChosen(int index);
    void DirectionChosen(int index);
    void Painted(const Image& picture);
    void Move(MoveStep step);
    void Add();
    void Delete();
    void ManageTypes();
    void Ok();
};

void TMapSymbolsBox::Impl::Build()
{
    box->setObjectName("mapSymbolsBox");
    box->setWindowTitle("Map Symbols");

    auto* planeGroup = new QGroupBox("Select plane");
    planes = new QComboBox;
    planes->setObjectName("planeSelector");
    auto* planeLayout = new QVBoxLayout(planeGroup);
    planeLayout->addWidget(new QLabel("From which plane do wish to edit map symbols?"));
    planeLayout->addWidget(planes);

    auto* colors = new QGroupBox("Colors");
    grid = new ColorGrid;
    swatches = new ColorSwatches;
    auto* colorLayout = new QHBoxLayout(colors);
    colorLayout->addWidget(grid);
    colorLayout->addWidget(swatches, 0, Qt::AlignTop);

    auto* symbol = new QGroupBox("Map symbol");
    preview = new SymbolPreview;
    auto* ok = MakeButton("OK", "okButton");
    ok->setDefault(true);
    auto* cancel = MakeButton("Cancel", "cancelButton");
    auto* symbolLayout = new QVBoxLayout(symbol);
    symbolLayout->addWidget(preview, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(planeGroup);
    left->addWidget(BuildSymbolGroup(), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildInformationGroup());
    auto* paint = new QHBoxLayout;
    paint->addWidget(colors);
    paint->addWidget(symbol);
    right->addLayout(paint);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(box);
    layout->addLayout(left);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(planes, &QComboBox::activated, box, [this](int index) { PlaneChosen(index); });
    QObject::connect(ok, &QPushButton::clicked, box, [this] { Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    grid->chosen = [this](Qt::MouseButton button, int index) {
        (button == Qt::LeftButton ? swatches->foreground : swatches->background) = index;
        swatches->update();
    };
    preview->colourFor = [this](Qt::MouseButton button) -> std::optional<std::uint32_t> {
        if (button != Qt::LeftButton && button != Qt::RightButton)
            return std::nullopt;
        const int index = button == Qt::LeftButton ? swatches->foreground : swatches->background;
        return PixelOf(PatternPalette[static_cast<std::size_t>(index)]);
    };
    preview->painted = [this](const Image& picture) { Painted(picture); };
}

QGroupBox* TMapSymbolsBox::Impl::BuildSymbolGroup()
{
    auto* group = new QGroupBox("Select map symbol");
    list = new QListWidget;
    list->setObjectName("symbolList");
    list->setItemDelegate(new SymbolListDelegate(list, 13));
    list->setUniformItemSizes(true);
    list->setMinimumSize(220, 300);
    auto* add = MakeButton("Add map symbol", "addSymbolButton");
    auto* remove = MakeButton("Delete map symbol", "deleteSymbolButton");
    auto* layout = new QGridLayout(group);
    layout->addWidget(list, 0, 0);
    layout->addLayout(MakeMoveButtons(box, "symbol", [this](MoveStep step) { Move(step); }), 0, 1);
    auto* addDelete = new QHBoxLayout;
    addDelete->addWidget(add);
    addDelete->addWidget(remove);
    layout->addLayout(addDelete, 1, 0, 1, 2);
    QObject::connect(list, &QListWidget::currentRowChanged, box, [this] { ShowSelected(); });
    QObject::connect(add, &QPushButton::clicked, box, [this] { Add(); });
    QObject::connect(remove, &QPushButton::clicked, box, [this] { Delete(); });
    return group;
}

QGroupBox* TMapSymbolsBox::Impl::BuildInformationGroup()
{
    auto* group = new QGroupBox("Edit map symbol information");
    name = new QLineEdit;
    name->setObjectName("symbolNameEdit");
    direction = new QComboBox;
    direction->setObjectName("directionBox");
    for (const char* text : kDirectionNames)
        direction->addItem(text);
    type = new QComboBox;
    type->setObjectName("typeBox");
    auto* manage = MakeButton("Manage map symbol types", "manageTypesButton");
    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel("Name:"), 0, 0);
    layout->addWidget(name, 0, 1);
    layout->addWidget(new QLabel("Direction:"), 1, 0);
    layout->addWidget(direction, 1, 1);
    layout->addWidget(new QLabel("Type:"), 2, 0);
    layout->addWidget(type, 2, 1);
    layout->addWidget(manage, 3, 0, 1, 2);
    OnLeave(name, [this] { NameLeft(); });
    QObject::connect(type, &QComboBox::activated, box, [this](int index) { TypeChosen(index); });
    QObject::connect(direction, &QComboBox::activated, box, [this](int index) { DirectionChosen(index); });
    QObject::connect(manage, &QPushButton::clicked, box, [this] { ManageTypes(); });
    return group;
}

void TMapSymbolsBox::Impl::Refill(int select)
{
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const WorkingSymbol& symbol : copy->Symbols(plane))
            list->addItem(SymbolListItem(SymbolTables::EntryText(symbol.Symbol), symbol.Picture));
        if (select >= 0 && select < list->count())
            list->setCurrentRow(select);
    }
    if (list->currentItem())
        list->scrollToItem(list->currentItem());
    ShowSelected();
}

void TMapSymbolsBox::Impl::FillTypes()
{
    type->clear();
    for (const MapSymbolTypes& t : copy->Types())
        type->addItem(NameToQt(t.TypeName));
}

void TMapSymbolsBox::Impl::ShowSelected()
{
    if (!HasSelection())
        return;
    const MapSymbols& symbol = Symbol().Symbol;
    name->setText(NameToQt(symbol.SymbolName));
    const auto& types = copy->Types();
    const auto match = std::find_if(types.begin(), types.end(),
                                     [&](const MapSymbolTypes& t) { return t.TypeID == symbol.SymbolType; });
    type->setCurrentIndex(match == types.end() ? -1 : static_cast<int>(match - types.begin()));
    direction->setCurrentIndex(DirectionIndex(symbol.Direction));
    preview->SetPicture(Symbol().Picture);
}

void TMapSymbolsBox::Impl::PlaneChosen(int index)
{
    if (!copy || index < 0 || index >= copy->NumPlanes())
        return;
    plane = index;
    Refill(0);
}

bool TMapSymbolsBox::Impl::NameLeft()
{
    if (!HasSelection())
        return true;
    auto typed = NameFromQt(name->text(), "map symbol name", kSymbolErrorCaption);
    if (!typed) {
        prompter.Show(typed.failure());
        return false;
    }
    if (auto failure = copy->Rename(plane, Selected(), *typed)) {
        prompter.Show(*failure);
        return false;
    }
    list->currentItem()->setText(QString::fromStdString(SymbolTables::EntryText(Symbol().Symbol)));
    return true;
}

void TMapSymbolsBox::Impl::TypeChosen(int index)
{
    if (HasSelection() && index >= 0 && index < static_cast<int>(copy->Types().size()))
        copy->SetType(plane, Selected(), copy->Types()[static_cast<std::size_t>(index)].TypeID);
}

void TMapSymbolsBox::Impl::DirectionChosen(int index)
{
    if (HasSelection() && index >= 0 && index < static_cast<int>(kDirectionCodes.size()))
        copy->SetDirection(plane, Selected(), std::string(kDirectionCodes[static_cast<std::size_t>(index)]));
}

void TMapSymbolsBox::Impl::Painted(const Image& picture)
{
    if (!HasSelection())
        return;
    copy->SetPicture(plane, Selected(), picture);
    preview->SetPicture(Symbol().Picture);
    list->currentItem()->setData(SymbolListDelegate::PictureRole, ToQImage(Symbol().Picture));
}

void TMapSymbolsBox::Impl::Move(MoveStep step)
{
    if (!HasSelection())
        return;
    Refill(copy->Move(plane, Selected(), step));
    list->setFocus();
}

void TMapSymbolsBox::Impl::Add()
{
    const auto id = addBox->AskId();
    if (!id)
        return;
    auto index = copy->Add(plane, *id);
    if (!index) {
        prompter.Show(index.failure());
        return;
    }
    Refill(*index);
}

void TMapSymbolsBox::Impl::Delete()
{
    auto next = copy->Delete(plane, Selected());
    if (!next) {
        prompter.Show(next.failure());
        return;
    }
    Refill(*next);
    list->setFocus();
}

void TMapSymbolsBox::Impl::ManageTypes()
{
    // The type editor starts from the main window's types, as they were
    // when the project's tables were last built.
    auto edited = typeBox->ShowSymbolTypes(tables->SymbolTypes());
    if (!edited)
        return;
    if (auto failure = WriteSymbolTypesFile(tables->SymbolTypesPath(), *edited)) {
        prompter.Show(*failure);
        return;
    }
    copy->Types() = std::move(*edited);
    FillTypes();
    ShowSelected();
}

void TMapSymbolsBox::Impl::Ok()
{
    // Return on the name edit presses "OK" without leaving the edit.
    if (name->hasFocus() && !NameLeft())
        return;
    if (mapsChanged &&
        prompter.Message("You will lose all undo / redo operations when saving the new map symbols now.\n\n"
                         "So you won't be able to undo / redo any actions you made recently to the maps.\n\n"
                         "Do you wish to continue?",
                         "Map symbols saving note", MessageIcon::Information, Buttons::YesNo) != Answer::Yes)
        return;
    if (auto failure = copy->Save(*tables)) {
        prompter.Show(*failure);
        return;
    }
    box->accept();
}

TMapSymbolsBox::TMapSymbolsBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapSymbolsBox::~TMapSymbolsBox() = default;

TAddMSBox* TMapSymbolsBox::AddBox() const
{
    return d->addBox;
}

TMapSymbolTypeBox* TMapSymbolsBox::TypeBox() const
{
    return d->typeBox;
}

bool TMapSymbolsBox::ShowMapSymbols(const SymbolTables& tables, const std::vector<std::string>& planeNames,
                                    bool mapsChanged)
{
    if (!tables.Loaded() || tables.NumPlanes() < 1)
        return false;
    d->tables = &tables;
    d->mapsChanged = mapsChanged;
    d->planes->clear();
    for (int p = 0; p < tables.NumPlanes(); ++p)
        d->planes->addItem(QString::fromStdString(
            p < static_cast<int>(planeNames.size()) ? planeNames[static_cast<std::size_t>(p)] : "Unknown Plane"));
    d->planes->setCurrentIndex(0);
    d->swatches->update();
    d->copy.emplace(tables);
    d->plane = 0;
    d->FillTypes();
    d->Refill(0);
    const bool written = exec() == QDialog::Accepted;
    d->copy.reset();
    d->tables = nullptr;
    return written;
}

} // namespace tsl
