#include "editor/ui/dialogs/TGenerateLevelBox.h"

#include "editor/operations/MapOperations.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tsl {

namespace {

constexpr int kPreviewSide = 512;

QSpinBox* SpinBox(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

} // namespace

struct TGenerateLevelBox::Impl {
    TGenerateLevelBox* box;
    QSpinBox* rooms = nullptr;
    QComboBox* enemies = nullptr;
    QSpinBox* keys = nullptr;
    QSpinBox* secrets = nullptr;
    QComboBox* theme = nullptr;
    QSpinBox* width = nullptr;
    QSpinBox* height = nullptr;
    QLineEdit* seed = nullptr;
    QLineEdit* name = nullptr;
    QLabel* preview = nullptr;
    QLabel* status = nullptr;
    QPushButton* generate = nullptr;
    const GenerateLevelContext* context = nullptr;
    std::optional<GeneratedLevel> level;

    explicit Impl(TGenerateLevelBox* owner) : box(owner) {}

    void Build()
    {
        box->setWindowTitle(QStringLiteral("Generate Level"));
        // The lowest value, below the fewest rooms, leaves the number to the size.
        rooms = SpinBox(box, "roomsBox", kGeneratorMinRooms - 1, kGeneratorMaxRooms, kGeneratorMinRooms - 1);
        rooms->setSpecialValueText(QStringLiteral("As the size suits"));
        enemies = new QComboBox(box);
        enemies->setObjectName(QStringLiteral("enemiesList"));
        for (const char* amount : {"None", "Few", "Normal", "Many"})
            enemies->addItem(QString::fromLatin1(amount));
        enemies->setCurrentIndex(static_cast<int>(EnemyAmount::Normal));
        keys = SpinBox(box, "keysBox", 0, kGeneratorMaxKeys, 0);
        secrets = SpinBox(box, "secretsBox", 0, kGeneratorMaxSecrets, 2);
        theme = new QComboBox(box);
        theme->setObjectName(QStringLiteral("themeList"));
        width = SpinBox(box, "widthBox", kGeneratorMinSide, kGeneratorMaxSide, 64);
        height = SpinBox(box, "heightBox", kGeneratorMinSide, kGeneratorMaxSide, 64);
        seed = new QLineEdit(box);
        seed->setObjectName(QStringLiteral("seedEdit"));
        auto* newSeed = new QPushButton(QStringLiteral("&New Seed"), box);
        newSeed->setObjectName(QStringLiteral("newSeedButton"));
        name = new QLineEdit(box);
        name->setObjectName(QStringLiteral("nameEdit"));
        name->setPlaceholderText(QStringLiteral("The map keeps its name"));

        auto* size = new QHBoxLayout;
        size->addWidget(width);
        size->addWidget(new QLabel(QStringLiteral("x"), box));
        size->addWidget(height);
        auto* seedRow = new QHBoxLayout;
        seedRow->addWidget(seed);
        seedRow->addWidget(newSeed);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("&Rooms:"), rooms);
        form->addRow(QStringLiteral("&Enemies:"), enemies);
        form->addRow(QStringLiteral("&Keys:"), keys);
        form->addRow(QStringLiteral("Se&crets:"), secrets);
        form->addRow(QStringLiteral("&Theme:"), theme);
        // A row holding a layout has no buddy of its own: its label names the first field.
        auto* sizeLabel = new QLabel(QStringLiteral("Si&ze:"), box);
        sizeLabel->setBuddy(width);
        form->addRow(sizeLabel, size);
        auto* seedLabel = new QLabel(QStringLiteral("&Seed:"), box);
        seedLabel->setBuddy(seed);
        form->addRow(seedLabel, seedRow);
        form->addRow(QStringLiteral("N&ame:"), name);

        preview = new QLabel(box);
        preview->setObjectName(QStringLiteral("previewLabel"));
        preview->setFixedSize(kPreviewSide, kPreviewSide);
        preview->setAlignment(Qt::AlignCenter);
        status = new QLabel(box);
        status->setObjectName(QStringLiteral("statusLabel"));
        status->setWordWrap(true);

        auto* buttons = new QDialogButtonBox(box);
        generate = buttons->addButton(QStringLiteral("&Generate"), QDialogButtonBox::AcceptRole);
        generate->setObjectName(QStringLiteral("generateButton"));
        generate->setDefault(true);
        QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cancel->setObjectName(QStringLiteral("cancelButton"));

        auto* left = new QVBoxLayout;
        left->addLayout(form);
        left->addStretch();
        auto* right = new QVBoxLayout;
        right->addWidget(preview);
        right->addWidget(status);
        auto* top = new QHBoxLayout;
        top->addLayout(left);
        top->addLayout(right);
        auto* layout = new QVBoxLayout(box);
        layout->addLayout(top);
        layout->addWidget(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize);

        auto update = [this] { Update(); };
        for (QSpinBox* spin : {rooms, keys, secrets, width, height})
            QObject::connect(spin, &QSpinBox::valueChanged, box, update);
        for (QComboBox* list : {enemies, theme})
            QObject::connect(list, &QComboBox::currentIndexChanged, box, update);
        QObject::connect(seed, &QLineEdit::textChanged, box, update);
        QObject::connect(newSeed, &QPushButton::clicked, box,
                         [this] { seed->setText(QString::number(ProgramRandom()())); });
        QObject::connect(generate, &QPushButton::clicked, box, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    }

    std::optional<GeneratorOptions> Read() const
    {
        bool ok = false;
        const qulonglong number = seed->text().trimmed().toULongLong(&ok);
        if (!ok || number > 0xFFFFFFFFull)
            return std::nullopt;
        GeneratorOptions options;
        options.seed = static_cast<std::uint32_t>(number);
        options.rooms = rooms->value() < kGeneratorMinRooms ? 0 : rooms->value();
        options.enemies = static_cast<EnemyAmount>(enemies->currentIndex());
        options.keys = keys->value();
        options.secrets = secrets->value();
        options.theme = theme->currentIndex() > 0 ? theme->currentText().toStdString() : std::string();
        options.width = width->value();
        options.height = height->value();
        return options;
    }

    void Update()
    {
        level.reset();
        if (!context)
            return;
        const auto options = Read();
        if (!options) {
            Show(QStringLiteral("The seed is a whole number from 0 to 4294967295."));
            return;
        }
        auto made = GenerateMapLevel(context->input, *options);
        if (!made) {
            Show(QString::fromStdString(made.failure().text));
            return;
        }
        level = std::move(*made);
        const QImage picture = ToQImage(context->draw(level->map));
        preview->setPixmap(QPixmap::fromImage(
            picture.width() > kPreviewSide || picture.height() > kPreviewSide
                ? picture.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::FastTransformation)
                : picture));
        const auto& s = level->skills;
        status->setText(QStringLiteral("%1 rooms in %2, %3 %4. Kills by skill level: %5, %6, %7, %8; treasure %9; "
                                       "secrets %10.")
                            .arg(level->rooms)
                            .arg(QString::fromStdString(level->theme))
                            .arg(level->tries)
                            .arg(level->tries == 1 ? QStringLiteral("try") : QStringLiteral("tries"))
                            .arg(s[0].kills)
                            .arg(s[1].kills)
                            .arg(s[2].kills)
                            .arg(s[3].kills)
                            .arg(s[0].treasure)
                            .arg(s[0].secrets));
        if (const int side = context->input.rules->MapSize();
            side > 0 && (options->width != side || options->height != side))
            status->setText(status->text() + QStringLiteral(" The engine of this game plays only %1 x %1 maps: this "
                                                            "one is for an engine that plays others.")
                                                  .arg(side));
        generate->setEnabled(true);
    }

    void Show(const QString& problem)
    {
        preview->clear();
        status->setText(problem);
        generate->setEnabled(false);
    }

    void Prepare(const GenerateLevelContext& given, std::uint32_t newSeed)
    {
        context = nullptr; // no level while the controls are set
        const QString chosen = theme->currentText();
        theme->clear();
        theme->addItem(QStringLiteral("Chosen by the seed"));
        for (const std::string& family : given.input.rules->Themes())
            theme->addItem(QString::fromStdString(family));
        theme->setCurrentIndex(std::max(0, theme->findText(chosen)));
        width->setValue(given.defaults.width);
        height->setValue(given.defaults.height);
        name->clear();
        seed->setText(QString::number(newSeed));
        context = &given;
        Update();
    }
};

TGenerateLevelBox::TGenerateLevelBox(QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>(this))
{
    d->Build();
}

TGenerateLevelBox::~TGenerateLevelBox() = default;

std::optional<GenerateLevelChoice> TGenerateLevelBox::ChooseLevel(const GenerateLevelContext& context,
                                                                  std::uint32_t seed)
{
    d->Prepare(context, seed);
    const bool chosen = exec() == QDialog::Accepted && d->level;
    d->context = nullptr;
    if (!chosen)
        return std::nullopt;
    return GenerateLevelChoice{std::move(*d->level), d->name->text().trimmed().toStdString()};
}

std::optional<GeneratorOptions> TGenerateLevelBox::Options() const
{
    return d->Read();
}

QString TGenerateLevelBox::StatusText() const
{
    return d->status->text();
}

} // namespace tsl
