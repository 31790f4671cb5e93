// SPDX-License-Identifier: MIT
#include <csignal>

#include "app/application.h"
#include "app/frm_about.h"
#include "app/frm_main.h"
#include "link/com_devices.h"
#include "ui/qt_prompter.h"

int main(int argc, char** argv) {
    // A file-size limit then fails the write that meets it, which the save reports and survives,
    // instead of ending the program with whatever it held unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    kr820::app::Application application(argc, argv);
    kr820::ui::QtPrompter prompter;

    kr820::app::TfrmAbout* splash = kr820::app::TfrmAbout::ShowSplash();
    kr820::app::TfrmMain mainWindow(prompter, kr820::link::EnumComDevices);
    mainWindow.SetSplash(splash);
    mainWindow.ShowAtStart();
    return application.exec();
}
