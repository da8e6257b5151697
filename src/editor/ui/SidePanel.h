#pragma once
// The side panel of the main window, top to bottom: the plane selector, the
// symbol list of the selected plane, the "Zoom Factor" track bar, the
// "Tools" group (the five tool buttons and the pointer's coordinates), the "Tile Information" rows
// and the "Selection" rows. It shows what the main window tells it and
// reports the user's choices as signals; it holds no map logic.

#include "core/Image.h"
#include "editor/PointerInput.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QListWidget;
class QSlider;
class QToolButton;

namespace tsl {

class Project;
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
    QSlider* ZoomSlider() const { return zoom_; }
    const PanelRow& TileRow(int plane) const { return tileRows_[static_cast<std::size_t>(plane)]; }
    // The button of a tool code (kToolPencil ...); paste placement has none.
    QToolButton* ToolButton(std::uint16_t tool) const;

    // Presses the button of `tool` without a signal; paste placement shows
    // the Rectangle Selection button pressed.
    void ShowTool(std::uint16_t tool);
    // The one-key shortcuts of the tools ("Pencil (P)"), active only while
    // `target` or a widget inside it has the focus.
    void BindToolKeys(QWidget* target);

    // The plane names, one item each; plane 0 selected without a signal.
    void SetPlanes(const std::vector<std::string>& names);
    // The symbols of `plane` as list entries, in file order.
    void FillSymbolList(const SymbolTables& tables, int plane);
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PanelRow AddRow(QGroupBox* group, const QString& caption);
    Image Picture(const SymbolTables& tables, int plane, std::uint16_t value) const;

    QComboBox* planes_;
    QListWidget* symbols_;
    SymbolListDelegate* delegate_;
    WordPictures pictures_;
    int pictureSize_ = kBlockSize;
    QSlider* zoom_;
    QButtonGroup* tools_;
    QLabel* x_;
    QLabel* y_;
    std::vector<PanelRow> tileRows_;
    PanelRow left_;
    PanelRow right_;
};

} // namespace tsl
