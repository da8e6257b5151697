#include "editor/ui/views/SidePanel.h"

#include "editor/tools/PointerTools.h"
#include "editor/document/Project.h"
#include "engine/StructureRules.h"
#include "editor/ui/views/Cursors.h"
#include "editor/ui/views/RecentSymbolsRow.h"
#include "symbols/SymbolTables.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

namespace {
const char* const kZoomLabels[] = {"1x", "2x", "4x", "6x", "8x"};
constexpr int kPictureSizes[] = {8, 16, 32};

struct ToolSpec {
    std::uint16_t tool;
    const char* hint; // the key follows in brackets
    const char* key;
    const char* name;
};
// Left to right in the "Tools" group.
constexpr ToolSpec kTools[] = {
    {kToolPencil, "Pencil", "P", "pencilButton"},
    {kToolSelectObject, "Select Object", "O", "selectObjectButton"},
    {kToolRectangle, "Rectangle", "R", "rectangleButton"},
    {kToolRectangleSelection, "Rectangle Selection", "S", "rectangleSelectionButton"},
    {kToolFill, "Fill", "F", "fillButton"},
};

// The buttons' pictures: the cursor a tool shows, or a square drawn here
// for the two rectangle tools (they share the "Select" cursor).
QIcon ToolIcon(std::uint16_t tool)
{
    if (tool != kToolRectangle && tool != kToolRectangleSelection)
        return QIcon(CursorPicture(ToolCursorName(tool)));
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (tool == kToolRectangle) {
        painter.setPen(Qt::black);
        painter.setBrush(QColor(0x40, 0x80, 0xC0));
    } else {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    }
    painter.drawRect(3, 4, 13, 11);
    return QIcon(picture);
}

} // namespace

QString ToolCursorName(std::uint16_t tool)
{
    switch (tool) {
    case kToolPencil:
        return "Pencil";
    case kToolFill:
        return "Flood";
    case kToolSelectObject:
        return "Pick";
    default:
        return "Select"; // both rectangles and paste placement
    }
}

SidePanel::SidePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("sidePanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    planes_ = new QComboBox;
    planes_->setObjectName("planeSelector");
    layout->addWidget(planes_);
    connect(planes_, &QComboBox::activated, this, &SidePanel::planeChosen);

    layout->addWidget(MakeFilterRow());
    recent_ = new RecentSymbolsRow;
    connect(recent_, &RecentSymbolsRow::valuePressed, this, &SidePanel::recentPressed);
    layout->addWidget(recent_);

    symbols_ = new QListWidget;
    symbols_->setObjectName("symbolList");
    delegate_ = new SymbolListDelegate(symbols_);
    symbols_->setItemDelegate(delegate_);
    symbols_->setUniformItemSizes(true);
    symbols_->viewport()->installEventFilter(this);
    symbols_->installEventFilter(this);
    layout->addWidget(symbols_, 1);

    auto* zoomGroup = new QGroupBox("Zoom Factor");
    zoomGroup->setObjectName("zoomGroup");
    auto* zoomLayout = new QGridLayout(zoomGroup);
    zoom_ = new QSlider(Qt::Horizontal);
    zoom_->setObjectName("zoomSlider");
    zoom_->setRange(0, 4);
    zoom_->setPageStep(1);
    zoom_->setTickPosition(QSlider::TicksBelow);
    zoom_->setTickInterval(1);
    zoomLayout->addWidget(zoom_, 0, 0, 1, 5);
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(kZoomLabels[i]);
        label->setAlignment(i == 0 ? Qt::AlignLeft : i == 4 ? Qt::AlignRight : Qt::AlignHCenter);
        zoomLayout->addWidget(label, 1, i);
    }
    connect(zoom_, &QSlider::valueChanged, this, &SidePanel::zoomChosen);
    layout->addWidget(zoomGroup);

    auto* tools = new QGroupBox("Tools");
    tools->setObjectName("toolsGroup");
    auto* toolsLayout = new QGridLayout(tools);
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    int column = 0;
    for (const ToolSpec& spec : kTools) {
        auto* button = new QToolButton;
        button->setObjectName(spec.name);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(ToolIcon(spec.tool));
        button->setIconSize(QSize(20, 20));
        button->setToolTip(QString("%1 (%2)").arg(spec.hint, spec.key));
        tools_->addButton(button, spec.tool);
        toolsLayout->addWidget(button, 0, column++);
    }
    tools_->button(kToolPencil)->setChecked(true);
    connect(tools_, &QButtonGroup::idClicked, this, &SidePanel::toolChosen);
    x_ = new QLabel("X:");
    x_->setObjectName("xLabel");
    y_ = new QLabel("Y:");
    y_->setObjectName("yLabel");
    toolsLayout->addWidget(x_, 1, 0, 1, 2);
    toolsLayout->addWidget(y_, 1, 2, 1, 2);
    layout->addWidget(tools);

    auto* info = new QGroupBox("Tile Information");
    info->setObjectName("tileInformationGroup");
    new QGridLayout(info);
    tileRows_ = {AddRow(info, "Wall:"), AddRow(info, "Object:"), AddRow(info, "Extra:")};
    layout->addWidget(info);

    auto* selection = new QGroupBox("Selection");
    selection->setObjectName("selectionGroup");
    new QGridLayout(selection);
    left_ = AddRow(selection, "Left:");
    right_ = AddRow(selection, "Right:");
    layout->addWidget(selection);
}

QWidget* SidePanel::MakeFilterRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    filter_ = new QLineEdit;
    filter_->setObjectName("symbolFilter");
    filter_->setPlaceholderText("Filter (Ctrl+L)");
    filter_->setToolTip("Shows the symbols whose name holds the text, or whose value begins with it (0x for "
                        "hexadecimal). Up and Down choose among them, Enter gives one to the left button "
                        "(Shift+Enter: the right one), Escape clears the filter.");
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    connect(filter_, &QLineEdit::textChanged, this, &SidePanel::ApplyFilter);
    layout->addWidget(filter_, 1);
    pictureSizes_ = new QComboBox;
    pictureSizes_->setObjectName("pictureSizeSelector");
    pictureSizes_->setToolTip("Picture size of the symbol list");
    for (int size : kPictureSizes)
        pictureSizes_->addItem(QString("%1 px").arg(size), size);
    connect(pictureSizes_, &QComboBox::activated, this, [this](int index) {
        const int size = pictureSizes_->itemData(index).toInt();
        SetListPictureSize(size);
        emit pictureSizeChosen(size);
    });
    layout->addWidget(pictureSizes_);
    paletteButton_ = new QToolButton;
    paletteButton_->setObjectName("paletteButton");
    paletteButton_->setText("Palette");
    paletteButton_->setCheckable(true);
    paletteButton_->setToolTip("Palette (Ctrl+Shift+P): the symbols of every plane together, grouped; picking one "
                               "selects its plane as well");
    connect(paletteButton_, &QToolButton::toggled, this, &SidePanel::ShowPalette);
    layout->addWidget(paletteButton_);
    return row;
}

PanelRow SidePanel::AddRow(QGroupBox* group, const QString& caption)
{
    auto* grid = static_cast<QGridLayout*>(group->layout());
    const int r = grid->rowCount();
    PanelRow row;
    row.caption = new QLabel(caption);
    row.picture = new QLabel;
    row.picture->setFixedSize(kBlockSize, kBlockSize);
    row.text = new QLabel;
    const QString name = QString(caption).remove(':').toLower();
    row.picture->setObjectName(name + "Picture");
    row.text->setObjectName(name + "Text");
    grid->addWidget(row.caption, r, 0);
    grid->addWidget(row.picture, r, 1);
    grid->addWidget(row.text, r, 2);
    grid->setColumnStretch(2, 1);
    return row;
}

void SidePanel::SetRow(const PanelRow& row, const Image& picture, const QString& text)
{
    if (!picture.empty())
        row.picture->setPixmap(QPixmap::fromImage(ToQImage(picture)));
    row.text->setText(text);
}

void SidePanel::SetPlanes(const std::vector<std::string>& names)
{
    const QSignalBlocker block(planes_);
    planes_->clear();
    for (const std::string& name : names)
        planes_->addItem(QString::fromStdString(name));
    planes_->setCurrentIndex(names.empty() ? -1 : 0);
}

void SidePanel::FillSymbolList(const SymbolTables& tables, int plane)
{
    selectedPlane_ = plane;
    shownTables_ = &tables;
    if (paletteShown_ && listedPlane_ == kPaletteKey)
        return; // the palette holds every plane already
    const int key = paletteShown_ ? kPaletteKey : plane;
    if (listedPlane_ != -1) {
        scrollOf_[listedPlane_] = symbols_->verticalScrollBar()->value();
        filterOf_[listedPlane_] = filter_->text();
    }
    // Each plane keeps its own filter: a text typed for the walls finds
    // nothing among the objects.
    if (key != listedPlane_) {
        const QSignalBlocker block(filter_);
        filter_->setText(filterOf_[key]);
    }
    symbols_->clear();
    rows_.clear();
    listedPlane_ = -1;
    SetTiles(paletteShown_);
    if (!tables.Loaded())
        return;
    if (paletteShown_) {
        FillPalette(tables);
    } else {
        if (plane < 0 || plane >= tables.NumPlanes())
            return;
        const auto& symbols = tables.PlaneSymbols(plane);
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            symbols_->addItem(SymbolListItem(SymbolTables::EntryText(symbols[i]),
                                             Picture(tables, plane, static_cast<std::uint16_t>(symbols[i].Value))));
            rows_.push_back({plane, static_cast<int>(i), symbols[i]});
        }
    }
    listedPlane_ = key;
    ApplyFilter();
    // The scroll bar learns its range from the layout, which is otherwise
    // made later.
    symbols_->doItemsLayout();
    symbols_->verticalScrollBar()->setValue(scrollOf_[key]);
}

void SidePanel::FillPalette(const SymbolTables& tables)
{
    for (const PaletteGroup& group : palette_) {
        auto* heading = new QListWidgetItem(QString::fromStdString(group.name));
        heading->setData(SymbolListDelegate::HeadingRole, true);
        heading->setFlags(Qt::ItemIsEnabled);
        symbols_->addItem(heading);
        rows_.push_back({});
        // A group of several planes names each entry's plane.
        const bool mixed = std::any_of(group.entries.begin(), group.entries.end(), [&](const PaletteEntry& entry) {
            return entry.plane != group.entries.front().plane;
        });
        for (const PaletteEntry& entry : group.entries) {
            if (entry.plane >= tables.NumPlanes())
                continue;
            const MapSymbols& symbol = tables.PlaneSymbols(entry.plane)[static_cast<std::size_t>(entry.index)];
            std::string text = SymbolTables::EntryText(symbol);
            if (mixed)
                text += " (" + planes_->itemText(entry.plane).toStdString() + ")";
            symbols_->addItem(
                SymbolListItem(text, Picture(tables, entry.plane, static_cast<std::uint16_t>(symbol.Value))));
            rows_.push_back({entry.plane, entry.index, symbol});
        }
    }
}

// The palette is a grid of pictures flowing from left to right, each group
// under its heading on a row of its own, so that a window of 1280 x 800
// shows some forty symbols at once; the names are the tiles' tool tips. A
// plane's list is a column of pictures and names.
void SidePanel::SetTiles(bool on)
{
    if (delegate_->Tiles() == on)
        return;
    delegate_->SetTiles(on);
    symbols_->setUniformItemSizes(!on);
    symbols_->setFlow(on ? QListView::LeftToRight : QListView::TopToBottom);
    symbols_->setWrapping(on);
    symbols_->setResizeMode(on ? QListView::Adjust : QListView::Fixed);
}

void SidePanel::ShowPalette(bool on)
{
    {
        const QSignalBlocker block(paletteButton_);
        paletteButton_->setChecked(on);
    }
    if (on == paletteShown_)
        return;
    paletteShown_ = on;
    if (shownTables_ && selectedPlane_ >= 0)
        FillSymbolList(*shownTables_, selectedPlane_);
}

bool SidePanel::IsHeading(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) && rows_[static_cast<std::size_t>(row)].plane < 0;
}

void SidePanel::PressRow(int row, Qt::MouseButton button)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()) || IsHeading(row))
        return;
    const ListRow& entry = rows_[static_cast<std::size_t>(row)];
    if (listedPlane_ == kPaletteKey)
        emit palettePressed(entry.plane, entry.index, button);
    else
        emit symbolPressed(entry.index, button);
}

void SidePanel::ApplyFilter()
{
    const std::string text = filter_->text().toStdString();
    int first = -1;
    // A heading shows while an entry under it does.
    int heading = -1;
    bool headingKept = false;
    auto closeHeading = [&] {
        if (heading >= 0)
            symbols_->setRowHidden(heading, !headingKept);
    };
    for (int row = 0; row < symbols_->count() && row < static_cast<int>(rows_.size()); ++row) {
        if (IsHeading(row)) {
            closeHeading();
            heading = row;
            headingKept = false;
            continue;
        }
        const bool kept = SymbolTables::MatchesFilter(rows_[static_cast<std::size_t>(row)].symbol, text);
        symbols_->setRowHidden(row, !kept);
        headingKept = headingKept || kept;
        if (kept && first < 0)
            first = row;
    }
    closeHeading();
    // What Enter would take is always shown as the current entry.
    const int current = symbols_->currentRow();
    if (!text.empty() && first >= 0 && (current < 0 || symbols_->isRowHidden(current))) {
        symbols_->setCurrentRow(first);
        symbols_->scrollToItem(symbols_->item(first));
    }
}

bool SidePanel::FilterKey(QKeyEvent* key)
{
    const int k = key->key();
    if (k == Qt::Key_Escape) {
        // Here Escape clears the filter and goes no further: it cancels nothing.
        filter_->clear();
        return true;
    }
    // The arrows walk the entries the filter shows; Enter gives the current
    // one (or the first) to the left button, with Shift to the right one,
    // and hands the keys back to the map.
    std::vector<int> shown;
    for (int row = 0; row < symbols_->count(); ++row)
        if (!symbols_->isRowHidden(row) && !IsHeading(row))
            shown.push_back(row);
    const auto at = std::find(shown.begin(), shown.end(), symbols_->currentRow());
    if (k == Qt::Key_Down || k == Qt::Key_Up) {
        if (shown.empty())
            return true;
        int row = shown.front();
        if (at != shown.end())
            row = k == Qt::Key_Down ? (at + 1 == shown.end() ? *at : *(at + 1)) : (at == shown.begin() ? *at : *(at - 1));
        symbols_->setCurrentRow(row);
        symbols_->scrollToItem(symbols_->item(row));
        return true;
    }
    if (k != Qt::Key_Return && k != Qt::Key_Enter)
        return false;
    if (shown.empty())
        return true;
    const int row = at != shown.end() ? *at : shown.front();
    symbols_->setCurrentRow(row);
    PressRow(row, key->modifiers() & Qt::ShiftModifier ? Qt::RightButton : Qt::LeftButton);
    emit filterDone();
    return true;
}

void SidePanel::SetListPictureSize(int size)
{
    const int index = pictureSizes_->findData(size);
    if (index < 0)
        return;
    pictureSizes_->setCurrentIndex(index);
    delegate_->SetPictureSize(size);
    symbols_->doItemsLayout();
}

int SidePanel::ListPictureSize() const
{
    return delegate_->PictureSize();
}

void SidePanel::FocusFilter()
{
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
}

void SidePanel::ShowRecent(const SymbolTables& tables, int plane, const std::vector<std::uint16_t>& values)
{
    if (plane == recentPlane_ && values == recentValues_)
        return;
    recentPlane_ = plane;
    recentValues_ = values;
    std::vector<RecentSymbolsRow::Entry> entries;
    for (std::uint16_t value : values) {
        const bool known = pictures_ || tables.FindSymbol(plane, value).has_value();
        entries.push_back({value, ToQImage(Picture(tables, plane, known ? value : 0)),
                           QString::fromStdString(tables.ValueText(plane, value))});
    }
    recent_->SetEntries(std::move(entries));
}

QToolButton* SidePanel::ToolButton(std::uint16_t tool) const
{
    return static_cast<QToolButton*>(tools_->button(tool));
}

void SidePanel::ShowTool(std::uint16_t tool)
{
    QAbstractButton* button = tools_->button(tool == kToolPastePlacement ? kToolRectangleSelection : tool);
    if (button)
        button->setChecked(true);
}

void SidePanel::BindToolKeys(QWidget* target)
{
    // A text field takes the letters before a shortcut sees them (it accepts
    // the shortcut override of every key that types). Windows of their own,
    // such as the 3D preview, keep their letters too.
    for (const ToolSpec& spec : kTools) {
        auto* shortcut = new QShortcut(QKeySequence(spec.key), target);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QAbstractButton* button = tools_->button(spec.tool);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
    }
}

void SidePanel::BindPlaneKeys(QWidget* target)
{
    for (int plane = 0; plane < 9; ++plane) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ControlModifier | static_cast<Qt::Key>(Qt::Key_1 + plane)), target);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, plane] {
            if (plane >= planes_->count() || !planes_->isEnabled())
                return;
            planes_->setCurrentIndex(plane);
            emit planeChosen(plane);
        });
    }
    auto* palette = new QShortcut(QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_P), target);
    palette->setContext(Qt::WidgetWithChildrenShortcut);
    connect(palette, &QShortcut::activated, paletteButton_, &QToolButton::toggle);
}

void SidePanel::ShowProject(const Project& project)
{
    const int planes = project.Maps().NumPlanes;
    std::vector<std::string> names;
    for (int p = 0; p < planes; ++p)
        names.push_back(project.PlaneName(p));
    SetPlanes(names);
    // Another project, or new symbols: no list position or recent picture
    // belongs to them yet.
    listedPlane_ = -1;
    scrollOf_.clear();
    filterOf_.clear();
    recentPlane_ = -1;
    recentValues_.clear();
    recent_->SetEntries({});
    palette_ = MakePalette(project.Symbols, project.Rules.Rules ? *project.Rules.Rules
                                                                 : EngineRules::FromSymbols(project.Symbols));
    FillSymbolList(project.Symbols, 0);
    ShowEmptyTileRows(project);
}

void SidePanel::ShowEmptyTileRows(const Project& project)
{
    for (int p = 0; p < 3; ++p) {
        if (p < project.Maps().NumPlanes)
            SetRow(TileRow(p), Picture(project.Symbols, p, 0), "0 - Nothing");
        else
            TileRow(p).text->clear();
    }
}

void SidePanel::ShowSelection(const SymbolTables& tables, int plane, std::uint16_t left, std::uint16_t right)
{
    ShowButtonValue(PointerButton::Left, tables, plane, left);
    ShowButtonValue(PointerButton::Right, tables, plane, right);
}

void SidePanel::ShowButtonValue(PointerButton button, const SymbolTables& tables, int plane, std::uint16_t value)
{
    // A value without a symbol shows the symbol of 0, or its game picture.
    const bool known = pictures_ || tables.FindSymbol(plane, value).has_value();
    SetRow(button == PointerButton::Right ? right_ : left_, Picture(tables, plane, known ? value : 0),
           QString::fromStdString(tables.ValueText(plane, value)));
}

void SidePanel::ShowPointerTile(int x, int y)
{
    x_->setText(QString("X: %1").arg(x));
    y_->setText(QString("Y: %1").arg(y));
}

void SidePanel::ShowTileInformation(const Project& project, int x, int y, int valueMode)
{
    const int planes = project.Maps().NumPlanes;
    for (int p = 0; p < 3; ++p) {
        const PanelRow& row = TileRow(p);
        if (p >= planes) {
            row.text->clear();
            continue;
        }
        const TileInfo info =
            TileInfoText(project.Maps().Current(), project.Symbols, p, x, y, project.SplitPlane(p), valueMode);
        SetRow(row, Picture(project.Symbols, p, static_cast<std::uint16_t>(info.PictureValue)),
               QString::fromStdString(info.Text));
    }
}

void SidePanel::SetZoomPosition(int position)
{
    const QSignalBlocker block(zoom_);
    zoom_->setValue(position);
}

void SidePanel::SetWordPictures(WordPictures pictures, int size)
{
    // The list keeps the picture size chosen for it, whatever it draws.
    pictures_ = std::move(pictures);
    pictureSize_ = pictures_ ? size : kBlockSize;
    if (listedPlane_ == kPaletteKey) {
        // The palette is drawn anew at the next fill, where it was.
        scrollOf_[kPaletteKey] = symbols_->verticalScrollBar()->value();
        filterOf_[kPaletteKey] = filter_->text();
        listedPlane_ = -1;
    }
    recentPlane_ = -1;
    std::vector<PanelRow> rows = tileRows_;
    rows.insert(rows.end(), {left_, right_});
    for (const PanelRow& row : rows)
        row.picture->setFixedSize(pictureSize_, pictureSize_);
}

Image SidePanel::Picture(const SymbolTables& tables, int plane, std::uint16_t value) const
{
    return pictures_ ? pictures_(plane, value) : tables.SymbolPicture(plane, value);
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == filter_ && event->type() == QEvent::KeyPress)
        return FilterKey(static_cast<QKeyEvent*>(event));
    if (symbols_ && watched == symbols_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && symbols_->currentItem() &&
            !symbols_->currentItem()->isHidden()) {
            PressRow(symbols_->currentRow(), key->modifiers() & Qt::ShiftModifier ? Qt::RightButton : Qt::LeftButton);
            return true;
        }
    }
    if (symbols_ && watched == symbols_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        QListWidgetItem* item = symbols_->itemAt(press->position().toPoint());
        if (item && !IsHeading(symbols_->row(item))) {
            symbols_->setCurrentItem(item);
            PressRow(symbols_->row(item), press->button());
        }
        return true; // the list selects only through this press
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tsl
