#include "mapdefs/ui/TMapDefinitionStructureBox.h"

#include "mapdefs/StructureStore.h"
#include "mapdefs/ui/HexEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tsl {

namespace {

constexpr int kExistingTab = 0;
constexpr int kScratchTab = 1;
constexpr int kMaxPlanes = 32767;

// The choices both tabs offer, below their first rows.
struct StructureChoices {
    QSpinBox* planes = nullptr;
    CompressionChoice compression;
    QCheckBox* extendedNames = nullptr;
    QCheckBox* wdc = nullptr;
    TagEdits tags;

    StructureSettings Chosen()
    {
        StructureSettings chosen;
        chosen.ExtendedMapNames = extendedNames->isChecked();
        chosen.WDCCompatibleMaps = wdc->isChecked();
        chosen.Compression = compression.Chosen();
        chosen.RLEWTag = tags.rlewTag->Value().value_or(0);
        chosen.NearTag = tags.nearTag->Value().value_or(0);
        chosen.FarTag = tags.farTag->Value().value_or(0);
        return chosen;
    }
};

// Lays out one tab: `firstRows` (label and control) above the plane count,
// then the option groups. Controls are named after `prefix`.
StructureChoices MakeChoices(QWidget* page, QFormLayout* firstRows, const QString& prefix,
                             const QString& defaultsText)
{
    StructureChoices choices;
    choices.planes = new QSpinBox(page);
    choices.planes->setObjectName(prefix + QStringLiteral("Planes"));
    choices.planes->setRange(1, kMaxPlanes);
    firstRows->addRow(QStringLiteral("Number of planes (Default = 3):"), choices.planes);

    auto* misc = new QGroupBox(QStringLiteral("Misc options (Only change when necessary!)"), page);
    choices.compression = CompressionChoice::Make(prefix, misc);
    auto* mapOptions = new QGroupBox(QStringLiteral("Misc map configurations"), misc);
    choices.extendedNames = new QCheckBox(QStringLiteral("Use 32 character map names"), mapOptions);
    choices.wdc = new QCheckBox(QStringLiteral("Save maps WDC compatible"), mapOptions);
    choices.extendedNames->setObjectName(prefix + QStringLiteral("ExtendedNames"));
    choices.wdc->setObjectName(prefix + QStringLiteral("Wdc"));
    auto* optionsLayout = new QVBoxLayout(mapOptions);
    optionsLayout->addWidget(choices.extendedNames);
    optionsLayout->addWidget(choices.wdc);
    choices.tags = TagEdits::Make(prefix, defaultsText, misc);

    auto* upper = new QHBoxLayout;
    upper->addWidget(choices.compression.group);
    upper->addWidget(mapOptions);
    auto* miscLayout = new QVBoxLayout(misc);
    miscLayout->addLayout(upper);
    miscLayout->addWidget(choices.tags.group);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(firstRows);
    layout->addWidget(misc);
    layout->addStretch();
    return choices;
}

} // namespace

struct TMapDefinitionStructureBox::Impl {
    TMapDefinitionStructureBox* box;
    Prompter& prompter;
    std::filesystem::path root;
    std::string extension;
    std::string headerExecutable;
    bool cancelled = true;

    QTabWidget* tabs = nullptr;
    QComboBox* structures = nullptr;
    StructureChoices existing;
    QString filledTags[3]; // the selected structure's tag texts, for "Set Defaults"
    QLineEdit* extensionText = nullptr;
    StructureChoices scratch;

    Impl(TMapDefinitionStructureBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build();
    void FillExisting(const std::string& structureName);
    void Ok();
};

void TMapDefinitionStructureBox::Impl::Build()
{
    box->setWindowTitle(QStringLiteral("Create map definition structure"));
    tabs = new QTabWidget(box);
    tabs->setObjectName(QStringLiteral("tabs"));

    auto* existingPage = new QWidget(tabs);
    auto* existingRows = new QFormLayout;
    structures = new QComboBox(existingPage);
    structures->setObjectName(QStringLiteral("structureList"));
    structures->setEditable(false);
    existingRows->addRow(QStringLiteral("Select map definition structure:"), structures);
    existing = MakeChoices(existingPage, existingRows, QStringLiteral("existing"), QStringLiteral("Set Defaults"));
    tabs->addTab(existingPage, QStringLiteral("From existing one"));

    auto* scratchPage = new QWidget(tabs);
    auto* scratchRows = new QFormLayout;
    extensionText = new QLineEdit(scratchPage);
    extensionText->setObjectName(QStringLiteral("scratchExtension"));
    extensionText->setEnabled(false);
    scratchRows->addRow(QStringLiteral("File extension:"), extensionText);
    scratch = MakeChoices(scratchPage, scratchRows, QStringLiteral("scratch"),
                          QStringLiteral("Set Defaults (from Wolf3D)"));
    scratch.compression.Choose(-1);
    tabs->addTab(scratchPage, QStringLiteral("From scratch (Not recommended)"));

    auto* buttons = new QDialogButtonBox(box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    QObject::connect(ok, &QPushButton::clicked, box, [this]() { Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    QObject::connect(structures, &QComboBox::currentIndexChanged, box, [this](int index) {
        if (index >= 0)
            FillExisting(structures->itemText(index).toStdString());
    });
    QObject::connect(existing.tags.defaults, &QPushButton::clicked, box,
                     [this]() { existing.tags.SetTexts(filledTags[0], filledTags[1], filledTags[2]); });
    QObject::connect(scratch.tags.defaults, &QPushButton::clicked, box, [this]() {
        scratch.tags.SetTexts(QString::fromLatin1(kDefaultRlewText), QString::fromLatin1(kDefaultNearText),
                              QString::fromLatin1(kDefaultFarText));
    });
}

void TMapDefinitionStructureBox::Impl::FillExisting(const std::string& structureName)
{
    const IniFile settings(StructureSettingsPathByName(root, structureName));
    const StructureSettings s = ReadStructureSettings(settings);
    existing.planes->setValue(s.NumPlanes);
    existing.compression.Choose(s.Compression);
    existing.extendedNames->setChecked(s.ExtendedMapNames);
    existing.wdc->setChecked(s.WDCCompatibleMaps);
    existing.tags.SetValues(s.RLEWTag, s.NearTag, s.FarTag);
    filledTags[0] = existing.tags.rlewTag->text();
    filledTags[1] = existing.tags.nearTag->text();
    filledTags[2] = existing.tags.farTag->text();
}

void TMapDefinitionStructureBox::Impl::Ok()
{
    const bool fromExisting = tabs->currentIndex() == kExistingTab;
    StructureChoices& choices = fromExisting ? existing : scratch;
    choices.planes->interpretText();
    if (auto message = FirstMissingChoice(choices.compression, choices.tags)) {
        prompter.Message(*message, kStructureErrorCaption, MessageIcon::Error, Buttons::Ok);
        return;
    }
    const StructureSettings chosen = choices.Chosen();
    const int planes = choices.planes->value();
    const std::optional<Failure> failure =
        fromExisting ? CreateFromExisting(root, structures->currentText().toStdString(), extension,
                                          headerExecutable, chosen, planes)
                     : CreateFromScratch(root, extension, headerExecutable, chosen, planes);
    if (failure) {
        prompter.Show(*failure);
        return;
    }
    cancelled = false;
    box->accept();
}

TMapDefinitionStructureBox::TMapDefinitionStructureBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapDefinitionStructureBox::~TMapDefinitionStructureBox() = default;

bool TMapDefinitionStructureBox::ShowStructureDialog(const std::filesystem::path& mapDefsRoot,
                                                     const std::string& extension,
                                                     const std::string& headerExecutable)
{
    d->root = mapDefsRoot;
    d->extension = extension;
    d->headerExecutable = headerExecutable;
    d->cancelled = true;

    const std::vector<std::string> names = ListStructures(mapDefsRoot);
    {
        const QSignalBlocker quiet(d->structures);
        d->structures->clear();
        for (const std::string& name : names)
            d->structures->addItem(QString::fromStdString(name));
    }
    // Without a structure to copy the first tab has nothing to offer: an
    // empty selection must never reach the copy.
    d->tabs->setTabEnabled(kExistingTab, !names.empty());
    if (names.empty()) {
        d->tabs->setCurrentIndex(kScratchTab);
    } else {
        d->tabs->setCurrentIndex(kExistingTab);
        d->structures->setCurrentIndex(0);
        d->FillExisting(names.front());
    }
    d->extensionText->setText(QString::fromStdString(extension));

    exec();
    return !d->cancelled;
}

bool TMapDefinitionStructureBox::Cancelled() const
{
    return d->cancelled;
}

} // namespace tsl
