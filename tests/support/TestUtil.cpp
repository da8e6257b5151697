#include "TestUtil.h"

#include "core/FileSystem.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

#include <sys/wait.h>
#include <unistd.h>

namespace tsl::test {

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "tesselar-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

namespace {

// Set up before any test runs, for this process and the programs it starts.
struct PrivateUserFolders {
    TempDir dir;
    PrivateUserFolders()
    {
        for (const char* variable : {"XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"})
            ::setenv(variable, (dir / variable).c_str(), 1);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};
const PrivateUserFolders kPrivateUserFolders;

} // namespace

Image DecodeBmp(const Bytes& bmp)
{
    EXPECT_EQ(bmp.at(0), 'B');
    EXPECT_EQ(bmp.at(1), 'M');
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    EXPECT_EQ(Get32(bmp, 10), 54u);
    EXPECT_EQ(Get32(bmp, 14), 40u);
    EXPECT_EQ(Get16(bmp, 28), 24);
    const int w = static_cast<int>(Get32(bmp, 18)), h = static_cast<int>(Get32(bmp, 22));
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(Get32(bmp, 34), stride * h);
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t p = 54 + (h - 1 - y) * stride + 3 * x; // bottom-up
            image.SetPixel(x, y, 0xFF000000u | bmp.at(p + 2) << 16 | bmp.at(p + 1) << 8 | bmp.at(p));
        }
    return image;
}

Image DecodePng(const Bytes& png)
{
    png_image reader{};
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&reader, png.data(), png.size()))
        return {};
    reader.format = PNG_FORMAT_RGB;
    Bytes rgb(PNG_IMAGE_SIZE(reader));
    if (!png_image_finish_read(&reader, nullptr, rgb.data(), 0, nullptr))
        return {};
    Image image(static_cast<int>(reader.width), static_cast<int>(reader.height));
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = 0xFF000000u | rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    return image;
}

std::map<std::string, Bytes> Snapshot(const fs::path& dir)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file() && !IsTemporaryName(entry.path().filename().string()))
            files[fs::relative(entry.path(), dir).string()] = ReadFile(entry.path());
    return files;
}

DiskFaults::DiskFaults(int at, bool lasting, int error)
    : DiskFaults([at, lasting, error](int number, DiskStep, const fs::path&) {
          return number == at || (lasting && number > at) ? error : 0;
      })
{
}

DiskFaults::DiskFaults(std::function<int(int number, DiskStep step, const fs::path& path)> hook)
{
    SetDiskFaultHook([steps = steps_, hook = std::move(hook)](DiskStep step, const fs::path& path) {
        return step == DiskStep::List ? 0 : hook(++*steps, step, path);
    });
}

DiskFaults::~DiskFaults()
{
    SetDiskFaultHook({});
}

Bytes ReadFile(const fs::path& path)
{
    auto data = ReadWholeFile(path);
    EXPECT_TRUE(data.has_value()) << "cannot read " << path;
    return data ? *data : Bytes{};
}

std::string FileText(const fs::path& path)
{
    const Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteFile(const fs::path& path, const Bytes& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    WriteFile(path, Bytes(text.begin(), text.end()));
}

void Put16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void PutText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::uint16_t Get16(const Bytes& data, std::size_t at)
{
    return static_cast<std::uint16_t>(data.at(at) | (data.at(at + 1) << 8));
}

std::uint32_t Get32(const Bytes& data, std::size_t at)
{
    return Get16(data, at) | (static_cast<std::uint32_t>(Get16(data, at + 2)) << 16);
}

MapHandler EmptySet(const fs::path& dir, DataFileVersion version, int planes, const std::string& extension)
{
    MapHandler set;
    set.Path = dir;
    set.Extension = extension;
    set.FileVersion = version;
    set.Compression = version == DataFileVersion::MapTemp ? 0 : 1;
    set.NumPlanes = planes;
    set.NameLength = 16;
    return set;
}

MapList& AddBlankMap(MapHandler& set, int width, int height, const std::string& name)
{
    MapList map = set.CreateMap(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), name);
    map.Index = set.NumMaps();
    set.Headers.push_back(MapHandler::HeaderFor(map));
    set.AddMap(std::move(map));
    return set.Maps.back();
}

void AddRandomMap(MapHandler& set, std::mt19937& random, int width, int height, const std::string& name,
                  int alphabet)
{
    MapList& map = AddBlankMap(set, width, height, name);
    for (auto& plane : map.Planes) {
        std::uint16_t value = 0;
        for (auto& word : plane) {
            // Runs of equal words, as maps have them, between random changes;
            // now and then a word the codecs must escape: the default RLEW tag
            // or a high byte equal to a default Carmack tag.
            static constexpr std::uint16_t kEscaped[] = {0xABCD, 0xA700, 0xA712, 0xA800, 0xA8FF};
            if (random() % 3 == 0) {
                const auto pick = random();
                value = pick % 8 == 0 ? kEscaped[pick / 8 % std::size(kEscaped)]
                                      : static_cast<std::uint16_t>(pick % static_cast<unsigned>(alphabet) * 0x0F0Fu);
            }
            word = value;
        }
    }
}

void ExpectSameMaps(const MapHandler& expected, const MapHandler& actual)
{
    ASSERT_EQ(expected.NumMaps(), actual.NumMaps());
    for (std::size_t i = 0; i < expected.Maps.size(); ++i) {
        const MapList& a = expected.Maps[i];
        const MapList& b = actual.Maps[i];
        ASSERT_EQ(a.Width, b.Width) << "map " << i;
        ASSERT_EQ(a.Height, b.Height) << "map " << i;
        EXPECT_EQ(MapNameText(a.Name), MapNameText(b.Name)) << "map " << i;
        ASSERT_EQ(a.Planes.size(), b.Planes.size()) << "map " << i;
        for (std::size_t p = 0; p < a.Planes.size(); ++p)
            ASSERT_TRUE(a.Planes[p] == b.Planes[p]) << "map " << i << " plane " << p;
    }
}

Bytes FakeExecutable()
{
    Bytes exe;
    for (int i = 0; i < 300; ++i)
        exe.push_back(static_cast<std::uint8_t>(i * 7));
    Put16(exe, 0xABCD);
    for (int i = 0; i < 100; ++i)
        Put32(exe, 0xFFFFFFFF);
    for (int i = 0; i < 200; ++i)
        exe.push_back(static_cast<std::uint8_t>(i * 13));
    return exe;
}

void UseFakeExecutable(MapHandler& set, const std::string& name)
{
    WriteFile(set.Path / name, FakeExecutable());
    set.HeaderInExecutable = true;
    set.HeaderExecutable = name;
}

void CopyGame(const fs::path& from, const fs::path& to)
{
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), to / entry.path().filename());
            fs::permissions(to / entry.path().filename(), fs::perms::owner_read | fs::perms::owner_write);
        }
}

MapHandler LoadSet(const fs::path& dir, int planes, bool wdc, bool extendedNames)
{
    MapHandler set;
    auto files = LocateGameFiles(dir);
    EXPECT_TRUE(bool(files)) << (files ? "" : files.failure().text);
    if (!files)
        return set;
    set.UseGameFiles(dir, *files);
    set.NumPlanes = planes;
    set.WDCCompatibleMaps = wdc;
    set.ExtendedMapNames = extendedNames;
    const LoadReport report = set.Load();
    EXPECT_TRUE(report.ok()) << (report.failure ? report.failure->text : "");
    EXPECT_TRUE(report.damaged.empty());
    return set;
}

fs::path SourceDir()
{
    return TESSELAR_SOURCE_DIR;
}

fs::path SampleGameDir()
{
    return SourceDir() / "data" / "sample";
}

std::vector<fs::path> RealGameSets()
{
    fs::path root = SourceDir().parent_path() / "shared" / "games";
    if (const char* env = std::getenv("TESSELAR_GAMES_DIR"))
        root = env;
    std::vector<fs::path> sets;
    std::error_code ec;
    if (!fs::is_directory(root, ec))
        return sets;
    for (const std::string& name : ListDirectory(root)) {
        const fs::path dir = root / name;
        if (fs::is_directory(dir) && LocateGameFiles(dir))
            sets.push_back(dir);
    }
    return sets;
}

std::optional<fs::path> SharewareDir()
{
    for (const fs::path& dir : RealGameSets()) {
        const std::vector<std::string> names = ListDirectory(dir);
        const auto has = [&names](std::string_view wanted) {
            return std::any_of(names.begin(), names.end(), [wanted](const std::string& name) { return EqualsNoCase(name, wanted); });
        };
        if (has("VGAGRAPH.WL1") && has("AUDIOT.WL1"))
            return dir;
    }
    return std::nullopt;
}

namespace {

std::string Quote(const std::string& arg)
{
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

CliResult RunCli(const std::vector<std::string>& args)
{
    std::vector<std::string> command{TESSELAR_CLI_PATH};
    command.insert(command.end(), args.begin(), args.end());
    return RunProgram(command);
}

CliResult RunProgram(const std::vector<std::string>& words)
{
    TempDir capture;
    std::string command;
    for (const std::string& a : words)
        command += (command.empty() ? "" : " ") + Quote(a);
    command += " >" + Quote((capture / "out").string()) + " 2>" + Quote((capture / "err").string());
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = FileText(capture / "out");
    result.err = FileText(capture / "err");
    return result;
}

} // namespace tsl::test
