#pragma once
// "Game Pictures and Sounds": the page file's walls, sprites and digitised
// sounds in a window beside the editor. Walls are listed in pairs, the light
// side beside the dark one (chunks 2n and 2n + 1, as a wall word shows
// them), with the words that show them; sprites with the words that show
// them; sounds with their names (the structure's), their length and a button
// that plays them. Thumbnails are drawn at 1x or 2x, as their rows are
// painted (PageThumbnails).
//
// The window only shows what it is given and hands the user's requests on
// (PagesController does them through the page document): export, replace
// (a file chosen, or a PNG, BMP or WAV file dropped on the item), add (a
// wall also before the chosen one), remove, play, undo and redo.

#include "editor/render/PageWords.h"
#include "editor/ui/gamedata/PageThumbnails.h"
#include "graphics/PageSet.h"
#include "graphics/Palette.h"
#include "graphics/SoundNames.h"

#include <QPixmap>
#include <QWidget>

#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tsl {

class TPageBrowserBox : public QWidget {
    Q_OBJECT
public:
    enum class Tab { Walls, Sprites, Sounds };
    // One thing of the page file: a wall or sprite chunk, or a sound.
    struct Item {
        Tab tab = Tab::Walls;
        int chunk = -1; // the wall or sprite chunk; a sound's first chunk
        int sound = -1; // for a sound
        friend bool operator==(const Item&, const Item&) = default;
    };

    explicit TPageBrowserBox(QWidget* parent = nullptr);

    // Lists the pages anew, keeping the tab, the chosen item (by its place)
    // and the scroll positions.
    void ShowPages(const PageSet& pages, const Palette& palette, const std::map<int, std::vector<PageWord>>& words,
                   const SoundNames& sounds);
    // What Undo and Redo would do ("Replace wall 12"); empty: nothing.
    void ShowHistory(const QString& undo, const QString& redo);

    Tab CurrentTab() const;
    void SetCurrentTab(Tab tab);
    // The chosen item of the current tab (in the walls, the side whose
    // column was clicked; the light side when none was).
    std::optional<Item> CurrentItem() const;
    // Chooses the item of a chunk or a sound and shows its tab.
    void ChooseChunk(int chunk);
    void ChooseSound(int sound);
    // The thumbnails' scale: 1 or 2.
    int Scale() const;
    // Another tab after the page file's (the game's other pictures and sounds).
    void AddTab(QWidget* page, const QString& label);
    // The thumbnail the lists show for a wall or sprite chunk; null for none.
    QPixmap Thumbnail(int chunk);

signals:
    void exportAsked(tsl::TPageBrowserBox::Item item);
    void exportAllAsked();
    void replaceAsked(tsl::TPageBrowserBox::Item item);
    // A file dropped on an item: replace it from that file.
    void fileDropped(tsl::TPageBrowserBox::Item item, const QString& path);
    void addAsked(tsl::TPageBrowserBox::Tab tab);
    // A new wall before the chosen one.
    void insertAsked(tsl::TPageBrowserBox::Item item);
    void removeAsked(tsl::TPageBrowserBox::Item item);
    void playAsked(int sound);
    void undoAsked();
    void redoAsked();

private:
    void FillWalls(const PageSet& pages, const std::map<int, std::vector<PageWord>>& words);
    void FillSprites(const PageSet& pages, const std::map<int, std::vector<PageWord>>& words);
    void FillSounds(const PageSet& pages, const SoundNames& names);
    void ShowThumbnails();
    void RefreshButtons();
    QTreeWidget* List(Tab tab) const;
    std::optional<Item> ItemAt(Tab tab, QTreeWidgetItem* row, int column) const;
    void Dropped(Tab tab, QTreeWidgetItem* row, int column, const QString& path);
    void Ask(void (TPageBrowserBox::*signal)(Item));

    QTabWidget* tabs_;
    QTreeWidget* walls_;
    QTreeWidget* sprites_;
    QTreeWidget* sounds_;
    QComboBox* scale_;
    QPushButton* export_;
    QPushButton* replace_;
    QPushButton* insert_;
    QPushButton* remove_;
    QPushButton* undo_;
    QPushButton* redo_;
    int firstDoor_ = 0; // the first wall chunk that is a door picture
    PageThumbnails thumbnails_;
};

} // namespace tsl
