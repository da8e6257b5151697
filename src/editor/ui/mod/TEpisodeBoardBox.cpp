#include "editor/ui/mod/TEpisodeBoardBox.h"

#include "editor/ui/mod/EpisodeBoardView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tsl {

TEpisodeBoardBox::TEpisodeBoardBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("episodeBoardBox");
    setWindowTitle("Episode Board");
    setModal(false);
    note_ = new QLabel;
    note_->setObjectName("boardNote");
    note_->setWordWrap(true);
    auto* key = new QLabel("Arrows lead where the engine takes the player: white the elevator, gold the secret "
                           "elevator, blue the Spear; a bar ends the episode. Kills per skill level 1/2/3/4; a walk "
                           "slower than par in red; a red corner: a warning; an amber frame: changed from the set "
                           "compared with. Click a floor to open it.");
    key->setWordWrap(true);
    view_ = new EpisodeBoardView;
    auto* scroll = new QScrollArea;
    scroll->setWidget(view_);
    scroll->setWidgetResizable(false);
    warnings_ = new QListWidget;
    warnings_->setObjectName("boardWarnings");
    warnings_->setMaximumHeight(96);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(view_, &EpisodeBoardView::mapChosen, this, &TEpisodeBoardBox::mapChosen);
    connect(warnings_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const QVariant map = item->data(Qt::UserRole); map.isValid())
            emit mapChosen(map.toInt());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(key);
    layout->addWidget(scroll, 1);
    layout->addWidget(new QLabel("Warnings:"));
    layout->addWidget(warnings_);
    layout->addWidget(buttons);
    resize(1100, 720);
}

void TEpisodeBoardBox::ShowBoard(const EpisodeBoard& board, std::map<int, QImage> pictures, std::set<int> changed)
{
    note_->setText(QString::fromStdString(board.flowNote));
    note_->setVisible(!board.flowNote.empty());
    view_->SetBoard(board, std::move(pictures), std::move(changed));
    view_->resize(view_->minimumSize());
    warnings_->clear();
    for (const BoardEpisode& episode : board.episodes)
        for (const BoardWarning& warning : episode.warnings) {
            auto* item = new QListWidgetItem(QString::fromStdString(warning.text), warnings_);
            item->setData(Qt::UserRole, warning.map - 1);
        }
    if (warnings_->count() == 0)
        new QListWidgetItem("None: every floor can be finished and the flow holds.", warnings_);
}

} // namespace tsl
