#pragma once
// VantorFlash's help and version texts, for the main of each window host.

#ifdef _WIN32
#define VANTOR_FLASH_USER_FOLDER "%APPDATA%\\Vantor"
#define VANTOR_FLASH_TOOLKIT_NOTE ""
#else
#define VANTOR_FLASH_USER_FOLDER "~/.config/vantor"
#define VANTOR_FLASH_TOOLKIT_NOTE "\nQt's own options (-platform NAME, ...) are accepted too.\n"
#endif

namespace vantor::flash {

inline constexpr char kUsage[] =
    "usage: VantorFlash [--demo] [--config CFG]\n\n"
    "Live data displays, data logs, playback, VE learn and bank flashing for the\n"
    "ORV KDM-9 flash ECM on a serial port.\n\n"
    "  --demo         run on the simulated ECM for this run only (the configuration\n"
    "                 keeps your port)\n"
    "  --config CFG   the configuration file (default: ORV_KDM-9_Vantor.cfg beside the\n"
    "                 program, or in " VANTOR_FLASH_USER_FOLDER " when its folder is shared)\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n" VANTOR_FLASH_TOOLKIT_NOTE;

inline constexpr char kVersion[] = "VantorFlash " VANTOR_VERSION "\n";

}  // namespace vantor::flash
