// Renders velmora's windows to PNG files in the folder given, offscreen, on the built-in
// simulated world: console.png. A private simulator state folder keeps it apart from a
// running program; a clock that moves only when read, and jumps over every wait for
// events, skips the splash wait at once.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "frm_send_smb_cmds.h"
#include "rawlnk/rawlnk_sim.h"
#include "ui/doubles.h"
#include "ui/qt_services.h"

namespace {

// The window-system services with waits that never sleep: a wait ends when its time is
// up on the fake clock, not on the console's own timers.
class NoWaitServices : public platform::ui::QtServices {
  public:
    explicit NoWaitServices(platform::ui::FakeClock& clock) : clock_(clock) {}
    void wait_for_events(double max_seconds) override {
        clock_.advance(max_seconds);
        process_events();
    }

  private:
    platform::ui::FakeClock& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    platform::ui::install_qt_services();
    platform::ui::FakeClock clock;
    clock.step = 0.01;
    platform::ui::install(&clock);
    NoWaitServices services(clock);
    platform::ui::install(static_cast<platform::ui::Services*>(&services));
    RLSIM_SetStateDir(nullptr);
    RLSIM_LoadDefaultWorld();
    RLSIM_UseVirtualClock(1);

    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    velmora::frmSendSMB_cmds* console = velmora::frmSendSMB_cmds::Load();
    if (!console) {
        std::fprintf(stderr, "the console did not load\n");
        return 1;
    }
    console->show();
    QApplication::processEvents();
    const QString file = dir + QStringLiteral("/console.png");
    const bool ok = console->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    console->Unload();
    platform::ui::install(static_cast<platform::ui::Clock*>(nullptr));
    platform::ui::install(static_cast<platform::ui::Services*>(nullptr));
    return ok ? 0 : 1;
}
