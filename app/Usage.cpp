#include "app/Usage.h"

const std::string& UsageText() {
  static const std::string text =
      "Usage: loupix [OPTION]... [FILE | FOLDER]\n"
      "Show pictures full screen, with a magnifier lens.\n"
      "\n"
      "Opens FILE (JPEG or BMP), or every picture in FOLDER and its subfolders;\n"
      "without either, starts on a black screen.\n"
      "\n"
      "Options:\n"
      "  --scale=MODE   how the 1024x768 screen fills the monitor:\n"
      "                 integer, smooth or nearest (sets LOUPIX_SCALE)\n"
      "  -h, --help     show this help and exit\n"
      "  --version      show the version and exit\n"
      "  Qt's options (-platform, -display, -style ...) are passed on to Qt.\n"
      "\n"
      "Keys and mouse:\n"
      "  Ctrl + left click      open a picture file\n"
      "  Shift + left click     open a folder\n"
      "  left click             lens on / off\n"
      "  Page Down / Page Up    next / previous picture (or grid page)\n"
      "  arrow keys             move the picture by 15 pixels\n"
      "  right click            menu with every other command\n"
      "  Esc                    quit\n"
      "\n"
      "Exit status: 0 after Esc, 2 for a bad option or path.\n";
  return text;
}

std::string VersionText() { return std::string("loupix ") + LOUPIX_VERSION; }
