#include "editor/ui/gamedata/TGameDataPane.h"

#include "editor/ui/gamedata/FileDropList.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace tsl {

namespace {

constexpr int kChunkRole = Qt::UserRole;
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 100;


const char* ObjectName(TGameDataPane::Kind kind)
{
    switch (kind) {
    case TGameDataPane::Kind::Pictures:
        return "picturesPane";
    case TGameDataPane::Kind::Fonts:
        return "fontsPane";
    case TGameDataPane::Kind::Texts:
        return "textsPane";
    case TGameDataPane::Kind::PcSpeaker:
        return "pcSpeakerPane";
    case TGameDataPane::Kind::AdLib:
        return "adlibPane";
    case TGameDataPane::Kind::Music:
        break;
    }
    return "musicPane";
}

// A thumbnail that fits the list's icons, never enlarged past twice its size.
QIcon Thumbnail(const QImage& picture)
{
    QImage canvas(kThumbWidth, kThumbHeight, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    if (!picture.isNull()) {
        const QImage scaled = picture.width() * 2 <= kThumbWidth && picture.height() * 2 <= kThumbHeight
                                  ? picture.scaled(picture.size() * 2)
                                  : picture.scaled(kThumbWidth, kThumbHeight, Qt::KeepAspectRatio);
        QPainter painter(&canvas);
        painter.drawImage(0, (kThumbHeight - scaled.height()) / 2, scaled);
    }
    return QIcon(QPixmap::fromImage(canvas));
}

} // namespace

TGameDataPane::TGameDataPane(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setObjectName(ObjectName(kind));
    auto* list = new FileDropList;
    list_ = list;
    list_->setObjectName(QString(ObjectName(kind)) + "List");
    const bool sound = kind == Kind::PcSpeaker || kind == Kind::AdLib || kind == Kind::Music;
    list_->setHeaderLabels({"Chunk", "Name", sound ? "Seconds" : kind == Kind::Texts ? "Bytes" : "Size"});
    list_->setRootIsDecorated(false);
    list_->setAcceptDrops(true);
    list_->setDropIndicatorShown(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    if (kind == Kind::Pictures)
        list_->setIconSize(QSize(kThumbWidth, kThumbHeight));
    list->dropped = [this](QTreeWidgetItem* row, int, const QString& path) {
        emit fileDropped(row->data(0, kChunkRole).toInt(), path);
    };

    QWidget* body = list_;
    if (kind == Kind::Texts || kind == Kind::Fonts) {
        auto* splitter = new QSplitter(Qt::Vertical);
        splitter->addWidget(list_);
        if (kind == Kind::Texts) {
            text_ = new QPlainTextEdit;
            text_->setObjectName("textView");
            text_->setReadOnly(true);
            text_->setLineWrapMode(QPlainTextEdit::NoWrap);
            splitter->addWidget(text_);
        } else {
            preview_ = new QLabel;
            preview_->setObjectName("fontPreview");
            preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            splitter->addWidget(preview_);
        }
        body = splitter;
    }

    export_ = new QPushButton("&Export...");
    export_->setObjectName("paneExportButton");
    auto* exportAll = new QPushButton("Export &All...");
    exportAll->setObjectName("paneExportAllButton");
    replace_ = new QPushButton("&Replace...");
    replace_->setObjectName("paneReplaceButton");
    undo_ = new QPushButton("&Undo");
    undo_->setObjectName("paneUndoButton");
    redo_ = new QPushButton("Re&do");
    redo_->setObjectName("paneRedoButton");
    undo_->setShortcut(QKeySequence::Undo); // only the shown tab's take the keys
    redo_->setShortcut(QKeySequence("Ctrl+Y"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_);
    buttons->addWidget(exportAll);
    buttons->addWidget(replace_);
    if (sound) {
        play_ = new QPushButton("&Play");
        play_->setObjectName("panePlayButton");
        buttons->addWidget(play_);
        connect(play_, &QPushButton::clicked, this, [this] {
            if (const auto chunk = CurrentChunk())
                emit playAsked(*chunk);
        });
    }
    buttons->addStretch();
    buttons->addWidget(undo_);
    buttons->addWidget(redo_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body);
    layout->addLayout(buttons);

    connect(export_, &QPushButton::clicked, this, [this] {
        if (const auto chunk = CurrentChunk())
            emit exportAsked(*chunk);
    });
    connect(exportAll, &QPushButton::clicked, this, &TGameDataPane::exportAllAsked);
    connect(replace_, &QPushButton::clicked, this, [this] {
        if (const auto chunk = CurrentChunk())
            emit replaceAsked(*chunk);
    });
    connect(undo_, &QPushButton::clicked, this, &TGameDataPane::undoAsked);
    connect(redo_, &QPushButton::clicked, this, &TGameDataPane::redoAsked);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
        ShowCurrent();
        RefreshButtons();
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (const auto chunk = CurrentChunk(); chunk && play_)
            emit playAsked(*chunk);
    });
    RefreshButtons();
}

void TGameDataPane::ShowRows(const std::vector<Row>& rows)
{
    const std::optional<int> chosen = CurrentChunk();
    const int scroll = list_->verticalScrollBar()->value();
    rows_ = rows;
    list_->clear();
    for (const Row& row : rows_) {
        auto* item = new QTreeWidgetItem(list_, {QString::number(row.chunk) + (row.changed ? " *" : ""), row.name,
                                                 row.holds});
        item->setData(0, kChunkRole, row.chunk);
        if (row.changed)
            item->setToolTip(0, "Changed since the game's files were saved");
        if (kind_ == Kind::Pictures)
            item->setIcon(1, Thumbnail(row.picture));
        if (chosen && *chosen == row.chunk)
            list_->setCurrentItem(item);
    }
    for (int column = 0; column < 2; ++column)
        list_->resizeColumnToContents(column);
    if (!list_->currentItem() && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    list_->verticalScrollBar()->setValue(scroll);
    ShowCurrent();
    RefreshButtons();
}

void TGameDataPane::ShowHistory(const QString& undo, const QString& redo)
{
    undo_->setEnabled(!undo.isEmpty());
    undo_->setToolTip(undo.isEmpty() ? QString() : "Undo " + undo);
    redo_->setEnabled(!redo.isEmpty());
    redo_->setToolTip(redo.isEmpty() ? QString() : "Redo " + redo);
}

std::optional<int> TGameDataPane::CurrentChunk() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item)
        return std::nullopt;
    return item->data(0, kChunkRole).toInt();
}

void TGameDataPane::ChooseChunk(int chunk)
{
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->data(0, kChunkRole).toInt() == chunk)
            list_->setCurrentItem(list_->topLevelItem(i));
}

void TGameDataPane::ShowCurrent()
{
    const std::optional<int> chunk = CurrentChunk();
    for (const Row& row : rows_) {
        if (!chunk || row.chunk != *chunk)
            continue;
        if (text_)
            text_->setPlainText(row.text);
        if (preview_)
            preview_->setPixmap(QPixmap::fromImage(row.picture.scaled(row.picture.size() * 2)));
    }
}

void TGameDataPane::RefreshButtons()
{
    const bool chosen = CurrentChunk().has_value();
    export_->setEnabled(chosen);
    replace_->setEnabled(chosen);
    if (play_)
        play_->setEnabled(chosen);
}

} // namespace tsl
