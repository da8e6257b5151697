#pragma once
// "&Generate Level...": the options of the level generator (rooms, enemies,
// keys, secrets, theme, size), the seed with a button for a new one, a name
// for the map, and a preview of the level drawn as the map view draws it,
// made again at every change of an option. The dialog only chooses: the
// caller puts the level into the map (EditorSession::PutLevel).

#include "core/Image.h"
#include "editor/operations/LevelGeneration.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tsl {

struct GenerateLevelContext {
    LevelGenerationInput input;
    GeneratorOptions defaults; // the size of the map the level is for
    // Draws a level as the map view draws its map.
    std::function<Image(const MapList&)> draw;
};

struct GenerateLevelChoice {
    GeneratedLevel level;
    std::string name; // UTF-8; empty: the map keeps its name
};

class TGenerateLevelBox : public QDialog {
    Q_OBJECT
public:
    explicit TGenerateLevelBox(QWidget* parent = nullptr);
    ~TGenerateLevelBox() override;

    // Shows the dialog modally with `seed` and the options of its last use
    // (the size from `context`); the level previewed when "Generate" is
    // pressed, nothing after "Cancel".
    std::optional<GenerateLevelChoice> ChooseLevel(const GenerateLevelContext& context, std::uint32_t seed);

    // The options as the controls hold them (for the tests), and the line
    // under the preview.
    std::optional<GeneratorOptions> Options() const;
    QString StatusText() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
