#include "platform/ui/StartMonitor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/Toolkit.h"

namespace {

TStartMonitor& Chosen() {
  static TStartMonitor monitor;
  return monitor;
}

// The monitor under the pointer, else the primary one; its device-pixel size
// and the factor the platform already draws it with.
double Probe(TStartMonitor& monitor) {
  // The toolkit's own options (-display, -platform) count for the probe too; it
  // takes them from a copy, since the toolkit removes what it reads.
  std::vector<std::string> texts(ToolkitArgumentValues(),
                                 ToolkitArgumentValues() + ToolkitArgumentCount());
  std::vector<char*> values;
  values.reserve(texts.size() + 1);
  for (std::string& text : texts) values.push_back(text.data());
  values.push_back(nullptr);
  int argc = static_cast<int>(texts.size());
  QGuiApplication probe(argc, values.data());
  QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return 1.0;
  const double ratio = screen->devicePixelRatio();
  monitor.Name = screen->name();
  monitor.Pixels = QSize(qRound(screen->geometry().width() * ratio),
                         qRound(screen->geometry().height() * ratio));
  return ratio;
}

}  // namespace

TScaleMode ScaleModeFromEnvironment() {
  const char* text = std::getenv("LOUPIX_SCALE");
  std::optional<TScaleMode> mode = ScaleModeFromText(text ? text : "");
  if (mode) return *mode;
  static bool told = false;
  if (!told)
    std::fprintf(stderr, "loupix: LOUPIX_SCALE=%s is not one of integer, smooth, nearest\n", text);
  told = true;
  return TScaleMode::Auto;
}

void ChooseStartMonitor() {
  static bool chosen = false;
  if (chosen || QCoreApplication::instance()) return;
  chosen = true;
  TStartMonitor& monitor = Chosen();
  const double platformRatio = Probe(monitor);
  if (monitor.Pixels.isEmpty() || qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return;
  const TScreenFit fit = FitScreen({monitor.Pixels.width(), monitor.Pixels.height()}, kLayoutScreen,
                                   ScaleModeFromEnvironment());
  const double factor = WindowScale(fit) / platformRatio;
  if (std::abs(factor - 1.0) > 1e-9)
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 17));
}

const TStartMonitor& StartMonitor() { return Chosen(); }
