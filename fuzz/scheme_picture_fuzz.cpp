// "схема" on whatever lies in the working directory as shema.gif: the input
// is written there and the button's handler runs, through the run
// controller, on a real construction-view picture. A file the picture takes
// shows as its background; any other file gives the scheme message and
// leaves the view exactly as it was. Nothing crashes, and no file makes the
// picture allocate without bound (tools/fuzz.sh runs it with
// -rss_limit_mb=2048, which also caps any single allocation).
#include <QApplication>
#include <QImage>
#include <QRect>
#include <QtGlobal>

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/controller.h"
#include "app/messages.h"
#include "app/port.h"
#include "ui/picture_box.h"

namespace {

// The window as far as "схема" and "Очистить  рисунки" see it: the two
// pictures at the main window's sizes, and the messages.
class SchemePort : public app::WindowPort {
public:
    std::string GetText(int) override { return {}; }
    void SetText(int, std::string_view) override {}
    int CheckValue(int) override { return 0; }
    app::Surface& Picture(int pictureNo) override {
        if (pictureNo == 1) return view;
        return plot;
    }
    void MessageBox(std::string_view text) override {
        ++messages;
        lastMessage.assign(text);
    }
    int ProcessEvents() override { return 1; }
    int OpenWindowCount() override { return 1; }
    void CloseWindows() override {}
    void ShowHelp() override {}
    void Present() override {}
    char DecimalSeparator() override { return '.'; }

    // 4395 x 4395 and 8655 x 3615 twips.
    ui::PictureBox view{QRect(0, 0, 293, 293)};
    ui::PictureBox plot{QRect(0, 0, 577, 241)};
    int messages = 0;
    std::string lastMessage;
};

struct Scheme {
    SchemePort port;
    app::Controller controller{port};
};

Scheme* g_scheme = nullptr;
std::string g_directory;

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "scheme_picture_fuzz: %s\n", what);
    std::abort();
}

void WriteScheme(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen("shema.gif", "wb");
    Check(f != nullptr, "cannot write shema.gif");
    Check(size == 0 || std::fwrite(data, 1, size, f) == size, "cannot write shema.gif");
    Check(std::fclose(f) == 0, "cannot write shema.gif");
}

void RemoveDirectory() {
    if (g_directory.empty()) return;
    std::remove((g_directory + "/shema.gif").c_str());
    rmdir(g_directory.c_str());
}

// libFuzzer reads its corpus and writes what it finds by the paths it was
// given, relative to where it was started; they are made absolute here,
// before the working directory moves to the scheme's own folder. Crash
// inputs keep landing where they would have without the move.
void AnchorPaths(int* argc, char*** argv) {
    char here[PATH_MAX];
    Check(getcwd(here, sizeof here) != nullptr, "no working directory");
    const std::string cwd(here);
    auto absolute = [&cwd](const std::string& path) {
        return path.empty() || path[0] == '/' ? path : cwd + "/" + path;
    };
    static std::vector<std::string> args;
    static std::vector<char*> pointers;
    bool artifactsPlaced = false;
    for (int i = 0; i < *argc; ++i) {
        std::string a = (*argv)[i];
        if (i == 0) {
            // argv[0] must stay as given (libFuzzer checks it); the modes
            // that start the program again (-fork, -jobs) therefore need it
            // given as an absolute path.
        } else if (a.empty() || a[0] != '-') {
            a = absolute(a);
        } else {
            for (const char* flag : {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                     "-features_dir=", "-minimize_crash_out="}) {
                const std::size_t n = std::strlen(flag);
                if (a.compare(0, n, flag) != 0) continue;
                a = flag + absolute(a.substr(n));
                if (std::strcmp(flag, "-artifact_prefix=") == 0 || std::strcmp(flag, "-exact_artifact_path=") == 0)
                    artifactsPlaced = true;
            }
            // A comma-separated list of files.
            const std::string seeds = "-seed_inputs=";
            if (a.compare(0, seeds.size(), seeds) == 0 && a.size() > seeds.size() && a[seeds.size()] != '@') {
                std::string list = a.substr(seeds.size());
                a = seeds;
                for (std::size_t from = 0; from <= list.size();) {
                    std::size_t to = list.find(',', from);
                    if (to == std::string::npos) to = list.size();
                    if (from > 0) a += ',';
                    a += absolute(list.substr(from, to - from));
                    from = to + 1;
                }
            }
        }
        args.push_back(a);
    }
    if (!artifactsPlaced) args.push_back("-artifact_prefix=" + cwd + "/");
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(args.size());
    *argv = pointers.data();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    AnchorPaths(argc, argv);

    char pattern[] = "/tmp/morvane1-scheme-XXXXXX";
    Check(mkdtemp(pattern) != nullptr, "cannot make a temporary directory");
    g_directory = pattern;
    Check(chdir(pattern) == 0, "cannot enter the temporary directory");
    std::atexit(RemoveDirectory);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The decoders complain about every broken file they are shown; only a
    // fatal message, which aborts, is worth the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int qtArgc = 1;
    static char qtName[] = "scheme_picture_fuzz";
    static char* qtArgv[] = {qtName, nullptr};
    // Both live as long as the process; nothing of Qt is torn down in the
    // static destructors.
    static QApplication* app = new QApplication(qtArgc, qtArgv);
    (void)app;
    g_scheme = new Scheme;
    g_scheme->controller.Form_Load();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scheme& s = *g_scheme;
    WriteScheme(data, size);
    // "Очистить  рисунки", then something drawn as a run would leave it:
    // a refused picture must keep both the background and the drawing.
    s.controller.Command5_Click();
    s.port.view.Circle(1, 1, 2, app::Rgb{0, 0, 250});
    const QImage before = s.port.view.image().copy();
    const int messagesBefore = s.port.messages;

    s.controller.Command7_Click();

    const QImage& after = s.port.view.image();
    Check(after.size() == before.size() && after.format() == before.format(), "the view changed its size");
    if (s.port.messages == messagesBefore) return 0;  // the picture was taken
    Check(s.port.messages == messagesBefore + 1, "more than one message");
    // The file is there, so it is never reported missing.
    Check(s.port.lastMessage == app::kSchemeUnusableText, "a message other than the scheme's");
    Check(after == before, "a refused picture changed the view");
    return 0;
}
