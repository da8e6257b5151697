#include "editor/ui/gamedata/TPageBrowserBox.h"

#include "editor/ui/gamedata/FileDropList.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace tsl {

namespace {

constexpr int kChunkRole = Qt::UserRole;     // on each picture column: its chunk, -1 for none
constexpr int kSoundRole = Qt::UserRole + 1; // on a sound's row: its number
constexpr int kLightColumn = 1, kDarkColumn = 2, kSpriteColumn = 1;


FileDropList* MakeList(const char* name, const QStringList& headers)
{
    auto* list = new FileDropList;
    list->setObjectName(name);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAcceptDrops(true);
    list->setDropIndicatorShown(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(true);
    return list;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// Where a list stood, to stand there again after it was filled anew.
struct ListPlace {
    int row = -1;
    int column = 0;
    int scroll = 0;
};

ListPlace PlaceOf(const QTreeWidget* list)
{
    const QModelIndex current = list->currentIndex();
    return {current.isValid() ? current.row() : -1, current.isValid() ? current.column() : 0,
            list->verticalScrollBar()->value()};
}

void Restore(QTreeWidget* list, const ListPlace& place)
{
    const int row = std::min(place.row, list->topLevelItemCount() - 1);
    if (row >= 0)
        list->setCurrentItem(list->topLevelItem(row), place.column);
    list->verticalScrollBar()->setValue(place.scroll);
}

} // namespace

TPageBrowserBox::TPageBrowserBox(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("pageBrowserBox");
    setWindowTitle("Game Pictures and Sounds");
    resize(640, 600);

    walls_ = MakeList("wallList", {"Chunks", "Light", "Dark", "Words"});
    sprites_ = MakeList("spriteList", {"Chunk", "Sprite", "Words"});
    sounds_ = MakeList("soundList", {"Sound", "Chunks", "Length", ""});
    tabs_ = new QTabWidget;
    tabs_->setObjectName("pageTabs");
    tabs_->addTab(walls_, "&Walls");
    tabs_->addTab(sprites_, "S&prites");
    tabs_->addTab(sounds_, "&Sounds");
    // Thumbnails are made as their rows are painted.
    for (QTreeWidget* list : {walls_, sprites_})
        list->setItemDelegate(new ThumbnailDelegate(thumbnails_, kChunkRole, list));
    for (const Tab tab : {Tab::Walls, Tab::Sprites, Tab::Sounds})
        static_cast<FileDropList*>(List(tab))->dropped = [this, tab](QTreeWidgetItem* row, int column, const QString& path) {
            Dropped(tab, row, column, path);
        };

    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    export_ = button("exportButton", "&Export...");
    auto* exportAll = button("exportAllButton", "Export A&ll...");
    replace_ = button("replaceButton", "&Replace...");
    auto* add = button("addButton", "&Add...");
    insert_ = button("insertButton", "&Insert...");
    insert_->setToolTip("Add a wall before the chosen one, which moves one place up with every wall after it");
    remove_ = button("removeButton", "Re&move");
    undo_ = button("undoButton", "&Undo");
    redo_ = button("redoButton", "Re&do");
    undo_->setShortcut(QKeySequence::Undo);
    redo_->setShortcut(QKeySequence("Ctrl+Y"));
    scale_ = new QComboBox;
    scale_->setObjectName("thumbnailScale");
    scale_->addItems({"1x", "2x"});
    auto* scaleLabel = new QLabel("&Thumbnails:");
    scaleLabel->setBuddy(scale_);

    // The buttons of the page file's tabs; the tabs added after them bring their own.
    auto* pageButtons = new QWidget;
    pageButtons->setObjectName("pageButtons");
    auto* buttons = new QHBoxLayout(pageButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{export_, exportAll, replace_, add, insert_, remove_})
        buttons->addWidget(w);
    buttons->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{undo_, redo_, scaleLabel, scale_})
        buttons->addWidget(w);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(pageButtons);

    connect(export_, &QPushButton::clicked, this, [this] { Ask(&TPageBrowserBox::exportAsked); });
    connect(exportAll, &QPushButton::clicked, this, &TPageBrowserBox::exportAllAsked);
    connect(replace_, &QPushButton::clicked, this, [this] { Ask(&TPageBrowserBox::replaceAsked); });
    connect(remove_, &QPushButton::clicked, this, [this] { Ask(&TPageBrowserBox::removeAsked); });
    connect(add, &QPushButton::clicked, this, [this] { emit addAsked(CurrentTab()); });
    connect(insert_, &QPushButton::clicked, this, [this] { Ask(&TPageBrowserBox::insertAsked); });
    connect(undo_, &QPushButton::clicked, this, &TPageBrowserBox::undoAsked);
    connect(redo_, &QPushButton::clicked, this, &TPageBrowserBox::redoAsked);
    connect(scale_, &QComboBox::currentIndexChanged, this, &TPageBrowserBox::ShowThumbnails);
    connect(tabs_, &QTabWidget::currentChanged, this, &TPageBrowserBox::RefreshButtons);
    connect(tabs_, &QTabWidget::currentChanged, pageButtons, [this, pageButtons](int index) {
        pageButtons->setVisible(index <= static_cast<int>(Tab::Sounds));
    });
    for (QTreeWidget* list : {walls_, sprites_, sounds_})
        connect(list, &QTreeWidget::currentItemChanged, this, &TPageBrowserBox::RefreshButtons);
    ShowHistory({}, {});
}

QTreeWidget* TPageBrowserBox::List(Tab tab) const
{
    return tab == Tab::Walls ? walls_ : tab == Tab::Sprites ? sprites_ : sounds_;
}

void TPageBrowserBox::ShowPages(const PageSet& pages, const Palette& palette,
                                const std::map<int, std::vector<PageWord>>& words, const SoundNames& sounds)
{
    thumbnails_.SetPages(pages, palette);
    FillWalls(pages, words);
    FillSprites(pages, words);
    FillSounds(pages, sounds);
    ShowThumbnails();
    RefreshButtons();
}

void TPageBrowserBox::FillWalls(const PageSet& pages, const std::map<int, std::vector<PageWord>>& words)
{
    const ListPlace place = PlaceOf(walls_);
    walls_->clear();
    const int doors = firstDoor_ = pages.FirstDoorChunk();
    for (int light = 0; light < pages.FirstSpriteChunk(); light += 2) {
        const int dark = light + 1 < pages.FirstSpriteChunk() ? light + 1 : -1;
        auto* row = new QTreeWidgetItem(walls_);
        row->setText(0, dark < 0 ? QString::number(light) : QString("%1, %2").arg(light).arg(dark));
        std::vector<PageWord> shown;
        for (const int chunk : {light, dark}) {
            const int column = chunk == light ? kLightColumn : kDarkColumn;
            row->setData(column, kChunkRole, chunk);
            if (chunk < 0)
                continue;
            if (!pages.ChunkAt(chunk))
                row->setText(column, "(empty)");
            if (const auto found = words.find(chunk); found != words.end())
                for (const PageWord& word : found->second)
                    if (std::find(shown.begin(), shown.end(), word) == shown.end())
                        shown.push_back(word);
        }
        const QString doorNote = light >= doors ? "Door: " : "";
        row->setText(3, doorNote + Text(WordList(shown)));
    }
    Restore(walls_, place);
}

void TPageBrowserBox::FillSprites(const PageSet& pages, const std::map<int, std::vector<PageWord>>& words)
{
    const ListPlace place = PlaceOf(sprites_);
    sprites_->clear();
    for (int chunk = pages.FirstSpriteChunk(); chunk < pages.FirstSoundChunk(); ++chunk) {
        auto* row = new QTreeWidgetItem(sprites_);
        row->setText(0, QString::number(chunk));
        row->setData(kSpriteColumn, kChunkRole, chunk);
        if (!pages.ChunkAt(chunk))
            row->setText(kSpriteColumn, "(empty)");
        if (const auto found = words.find(chunk); found != words.end())
            row->setText(2, Text(WordList(found->second)));
    }
    Restore(sprites_, place);
}

void TPageBrowserBox::FillSounds(const PageSet& pages, const SoundNames& names)
{
    const ListPlace place = PlaceOf(sounds_);
    sounds_->clear();
    for (const DigitisedSound& sound : pages.Sounds()) {
        auto* row = new QTreeWidgetItem(sounds_);
        const std::string_view name = names.Name(sound.number);
        row->setText(0, QString::number(sound.number) + (name.empty() ? QString() : " " + Text(std::string(name))));
        row->setText(1, sound.chunkCount > 1 ? QString("%1 - %2").arg(sound.firstChunk).arg(sound.firstChunk +
                                                                                             sound.chunkCount - 1)
                                             : QString::number(sound.firstChunk));
        row->setText(2, sound.present == 0 ? "(not in this file)" : Text(SoundSeconds(sound.present)));
        row->setData(0, kSoundRole, sound.number);
        row->setData(0, kChunkRole, sound.firstChunk);
        auto* play = new QToolButton;
        play->setObjectName(QString("playSound%1").arg(sound.number));
        play->setText("Play");
        play->setToolTip(QString("Play sound %1").arg(sound.number));
        play->setEnabled(sound.present > 0);
        connect(play, &QToolButton::clicked, this, [this, number = sound.number] { emit playAsked(number); });
        sounds_->setItemWidget(row, 3, play);
    }
    for (const int column : {0, 2}) // the names in full
        sounds_->resizeColumnToContents(column);
    Restore(sounds_, place);
}

void TPageBrowserBox::ShowThumbnails()
{
    thumbnails_.SetScale(Scale());
    const int side = thumbnails_.Side();
    for (QTreeWidget* list : {walls_, sprites_}) {
        list->setIconSize(QSize(side, side)); // the rows take the new height
        for (int column = 0; column + 1 < list->columnCount(); ++column)
            list->resizeColumnToContents(column);
        list->viewport()->update();
    }
}

QPixmap TPageBrowserBox::Thumbnail(int chunk)
{
    return thumbnails_.Of(chunk);
}

void TPageBrowserBox::ShowHistory(const QString& undo, const QString& redo)
{
    undo_->setEnabled(!undo.isEmpty());
    redo_->setEnabled(!redo.isEmpty());
    undo_->setToolTip(undo.isEmpty() ? "Undo (Ctrl+Z)" : "Undo " + undo + " (Ctrl+Z)");
    redo_->setToolTip(redo.isEmpty() ? "Redo (Ctrl+Y)" : "Redo " + redo + " (Ctrl+Y)");
}

void TPageBrowserBox::RefreshButtons()
{
    const std::optional<Item> item = CurrentItem();
    const bool sound = item && item->tab == Tab::Sounds;
    export_->setEnabled(item.has_value());
    replace_->setEnabled(item.has_value());
    // The engine needs its door pictures where they are.
    remove_->setEnabled(item && !(item->tab == Tab::Walls && item->chunk >= firstDoor_));
    insert_->setEnabled(item && item->tab == Tab::Walls && item->chunk < firstDoor_);
    export_->setToolTip(sound ? "Export the sound as a WAV file" : "Export the picture as a PNG file");
}

TPageBrowserBox::Tab TPageBrowserBox::CurrentTab() const
{
    return static_cast<Tab>(tabs_->currentIndex());
}

void TPageBrowserBox::SetCurrentTab(Tab tab)
{
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

int TPageBrowserBox::Scale() const
{
    return scale_->currentIndex() + 1;
}

std::optional<TPageBrowserBox::Item> TPageBrowserBox::ItemAt(Tab tab, QTreeWidgetItem* row, int column) const
{
    if (!row)
        return std::nullopt;
    if (tab == Tab::Sounds)
        return Item{tab, row->data(0, kChunkRole).toInt(), row->data(0, kSoundRole).toInt()};
    const int pictureColumn = tab == Tab::Walls && column == kDarkColumn ? kDarkColumn
                              : tab == Tab::Walls                         ? kLightColumn
                                                                          : kSpriteColumn;
    const int chunk = row->data(pictureColumn, kChunkRole).toInt();
    if (chunk < 0)
        return std::nullopt;
    return Item{tab, chunk, -1};
}

std::optional<TPageBrowserBox::Item> TPageBrowserBox::CurrentItem() const
{
    if (tabs_->currentIndex() > static_cast<int>(Tab::Sounds))
        return std::nullopt; // a tab added after the page file's
    const QTreeWidget* list = List(CurrentTab());
    return ItemAt(CurrentTab(), list->currentItem(), list->currentColumn());
}

void TPageBrowserBox::ChooseChunk(int chunk)
{
    for (const Tab tab : {Tab::Walls, Tab::Sprites}) {
        QTreeWidget* list = List(tab);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            for (const int column : {kLightColumn, kDarkColumn})
                if (column < list->columnCount() && list->topLevelItem(i)->data(column, kChunkRole) == chunk) {
                    SetCurrentTab(tab);
                    list->setCurrentItem(list->topLevelItem(i), column);
                    list->scrollToItem(list->topLevelItem(i));
                    return;
                }
    }
}

void TPageBrowserBox::ChooseSound(int sound)
{
    for (int i = 0; i < sounds_->topLevelItemCount(); ++i)
        if (sounds_->topLevelItem(i)->data(0, kSoundRole) == sound) {
            SetCurrentTab(Tab::Sounds);
            sounds_->setCurrentItem(sounds_->topLevelItem(i));
            sounds_->scrollToItem(sounds_->topLevelItem(i));
            return;
        }
}

void TPageBrowserBox::Dropped(Tab tab, QTreeWidgetItem* row, int column, const QString& path)
{
    if (const auto item = ItemAt(tab, row, column)) {
        List(tab)->setCurrentItem(row, column);
        emit fileDropped(*item, path);
    }
}

void TPageBrowserBox::Ask(void (TPageBrowserBox::*signal)(Item))
{
    if (const auto item = CurrentItem())
        emit(this->*signal)(*item);
}

void TPageBrowserBox::AddTab(QWidget* page, const QString& label)
{
    tabs_->addTab(page, label);
}

} // namespace tsl
