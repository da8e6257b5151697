#pragma once
// The side panel of the main window, top to bottom: the plane selector, the
// symbol filter with the picture size, the row of recent symbols, the symbol
// list of the selected plane, the "Zoom Factor" track bar, the "Tools" group
// (the five tool buttons and the pointer's coordinates), the "Tile
// Information" rows and the "Selection" rows. It shows what the main window
// tells it and reports the user's choices as signals; it holds no map logic.
// The list keeps one scroll position and one filter text per plane, and the
// filter only hides entries, so an entry's row is always its index in the
// plane's symbols. Its "Palette" view shows the symbols of every plane at
// once, grouped under headings (SymbolPalette), with its own filter and
// scroll position; picking there names the plane as well.

#include "core/Image.h"
#include "editor/document/PointerInput.h"
#include "editor/tools/SymbolPalette.h"
#include "symbols/MapSymbols.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QSlider;
class QToolButton;

namespace tsl {

class Project;
class RecentSymbolsRow;
class SymbolTables;

// One picture-and-text row ("Wall:", "Left:", ...).
struct PanelRow {
    QLabel* caption = nullptr;
    QLabel* picture = nullptr;
    QLabel* text = nullptr;
};

// The name of the cursor a tool shows over the map view.
QString ToolCursorName(std::uint16_t tool);

class SidePanel : public QWidget {
    Q_OBJECT
public:
    explicit SidePanel(QWidget* parent = nullptr);

    QComboBox* PlaneSelector() const { return planes_; }
    QListWidget* SymbolList() const { return symbols_; }
    QLineEdit* SymbolFilter() const { return filter_; }
    QComboBox* PictureSizeSelector() const { return pictureSizes_; }
    QToolButton* PaletteButton() const { return paletteButton_; }
    bool PaletteShown() const { return paletteShown_; }
    // The list in the "Palette" view (true) or with one plane's symbols.
    void ShowPalette(bool on);
    RecentSymbolsRow* RecentRow() const { return recent_; }
    QSlider* ZoomSlider() const { return zoom_; }
    const PanelRow& TileRow(int plane) const { return tileRows_[static_cast<std::size_t>(plane)]; }
    // The button of a tool code (kToolPencil ...); paste placement has none.
    QToolButton* ToolButton(std::uint16_t tool) const;

    // Presses the button of `tool` without a signal; paste placement shows
    // the Rectangle Selection button pressed.
    void ShowTool(std::uint16_t tool);
    // The one-key shortcuts of the tools ("Pencil (P)") while the focus is in
    // `target` (the map view and the side panel), wherever there but in a
    // text field, which keeps its letters.
    void BindToolKeys(QWidget* target);
    // Ctrl+1 ... Ctrl+9 choose planes 1 to 9 (as if chosen in the plane
    // selector) and Ctrl+Shift+P switches the palette view, while the focus
    // is in `target`.
    void BindPlaneKeys(QWidget* target);
    // The list's pictures drawn `size` pixels high (8, 16 or 32), without a
    // signal, in both the symbols and the game's pictures.
    void SetListPictureSize(int size);
    int ListPictureSize() const;
    // Ctrl+L: the filter takes the focus with its text selected.
    void FocusFilter();

    // The plane names, one item each; plane 0 selected without a signal.
    void SetPlanes(const std::vector<std::string>& names);
    // The symbols of `plane` as list entries, in file order, those the
    // filter keeps shown, at the scroll position the plane had. In the
    // palette view `plane` is only the plane now selected: the palette
    // stays as it is once filled.
    void FillSymbolList(const SymbolTables& tables, int plane);
    // The row of recent symbols for these values of `plane`, newest first.
    void ShowRecent(const SymbolTables& tables, int plane, const std::vector<std::uint16_t>& values);
    // A project just opened: its planes (plane 0 selected), plane 0's
    // symbols, and the value-0 rows of "Tile Information".
    void ShowProject(const Project& project);
    // The "Left:" and "Right:" rows for the values of `plane`.
    void ShowSelection(const SymbolTables& tables, int plane, std::uint16_t left, std::uint16_t right);
    // The row of one button ("Right:" for the right one, "Left:" otherwise).
    void ShowButtonValue(PointerButton button, const SymbolTables& tables, int plane, std::uint16_t value);
    // The "Tile Information" rows before the pointer has been over a tile:
    // value 0 of each plane.
    void ShowEmptyTileRows(const Project& project);
    // "X:" and "Y:" of the tile under the pointer.
    void ShowPointerTile(int x, int y);
    // The "Tile Information" rows for tile (x, y) of the current map.
    void ShowTileInformation(const Project& project, int x, int y, int valueMode);
    // Sets the track bar without running the zoom handler.
    void SetZoomPosition(int position);

    // The picture of a value of a plane, for the list and the rows.
    using WordPictures = std::function<Image(int plane, std::uint16_t value)>;
    // From now on the list and the rows show what `pictures` draws, `size`
    // pixels a side (the game's pictures), or, when it is empty, the 8 x 8
    // symbols. The caller shows the list and the rows again.
    void SetWordPictures(WordPictures pictures, int size);
    int PictureSize() const { return pictureSize_; }

    // A row shows a picture (kept when `picture` is empty) and a text.
    static void SetRow(const PanelRow& row, const Image& picture, const QString& text);

signals:
    void planeChosen(int plane);
    // A tool button clicked (also when it was already down).
    void toolChosen(int tool);
    void zoomChosen(int position);
    // A symbol list entry pressed with a button: its index in the plane's symbols.
    void symbolPressed(int index, Qt::MouseButton button);
    // A palette entry pressed with a button: its plane and its index there.
    void palettePressed(int plane, int index, Qt::MouseButton button);
    // A picture of the recent row pressed with a button.
    void recentPressed(std::uint16_t value, Qt::MouseButton button);
    void pictureSizeChosen(int size);
    // Enter in the filter chose an entry: the keys go back to the map.
    void filterDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PanelRow AddRow(QGroupBox* group, const QString& caption);
    Image Picture(const SymbolTables& tables, int plane, std::uint16_t value) const;
    QWidget* MakeFilterRow();
    void ApplyFilter();
    bool FilterKey(QKeyEvent* key);
    void FillPalette(const SymbolTables& tables);
    void SetTiles(bool on);
    // Hands the entry of `row` to `button`, by the signal of the view shown.
    void PressRow(int row, Qt::MouseButton button);
    bool IsHeading(int row) const;

    QComboBox* planes_;
    QLineEdit* filter_;
    QComboBox* pictureSizes_;
    SymbolListDelegate* delegate_;
    WordPictures pictures_;
    int pictureSize_ = kBlockSize;
    RecentSymbolsRow* recent_;
    QToolButton* paletteButton_;
    QListWidget* symbols_ = nullptr;
    // What a row of the list holds: a plane's symbol, or a palette heading.
    struct ListRow {
        int plane = -1; // -1: a heading
        int index = -1; // in the plane's symbols
        MapSymbols symbol;
    };
    std::vector<ListRow> rows_;
    static constexpr int kPaletteKey = -2; // the palette's list position and filter
    int listedPlane_ = -1;             // the plane listed, or kPaletteKey
    int selectedPlane_ = -1;           // the plane the list was last filled for
    const SymbolTables* shownTables_ = nullptr; // the project's, while one is shown
    std::vector<PaletteGroup> palette_;
    bool paletteShown_ = false;
    std::map<int, int> scrollOf_;    // each plane's list position
    std::map<int, QString> filterOf_; // each plane's filter text
    int recentPlane_ = -1;
    std::vector<std::uint16_t> recentValues_;
    QSlider* zoom_;
    QButtonGroup* tools_;
    QLabel* x_;
    QLabel* y_;
    std::vector<PanelRow> tileRows_;
    PanelRow left_;
    PanelRow right_;
};

} // namespace tsl
