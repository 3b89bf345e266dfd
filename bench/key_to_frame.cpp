// Measures what a user waits for: the time from a key press to the moment the
// screen shows the expected picture. The press is injected with XTest; the X
// framebuffer is then read at 16 probe points until they show the picture's
// signature (its colours at those points, learnt beforehand with `signature`),
// each time the X server reports that the screen changed (XDamage), so the
// measuring costs the viewer no processor time while it works.
//   loupix_key_to_frame signature [SETTLE_MS [BEFORE]]   waits until the probes differ
//       from the signature BEFORE (when given), then until the screen stays the same
//       for SETTLE_MS (default 700), and prints the probe colours
//   loupix_key_to_frame press KEY SIGNATURE [TIMEOUT_S]   presses KEY (an X keysym
//       name such as Next or Right) and prints the milliseconds until the probes
//       show SIGNATURE; exits 1 after TIMEOUT_S (default 30) seconds
//   loupix_key_to_frame run sequential|burst   the same for each "KEY SIGNATURE"
//       line of standard input, a second apart or each right after the last
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;
constexpr int kProbes = 16;
using TSignature = std::array<unsigned long, kProbes>;

// A 4 x 4 lattice over the screen, away from the edges.
TSignature ReadProbes(Display* display) {
  const Window root = DefaultRootWindow(display);
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  TSignature signature{};
  for (int i = 0; i < kProbes; ++i) {
    const int x = width * (2 * (i % 4) + 1) / 8, y = height * (2 * (i / 4) + 1) / 8;
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    signature[static_cast<size_t>(i)] = image ? XGetPixel(image, 0, 0) : ~0ul;
    if (image) XDestroyImage(image);
  }
  return signature;
}

std::string Format(const TSignature& signature) {
  std::string text;
  for (unsigned long value : signature) {
    char part[20];
    std::snprintf(part, sizeof part, "%s%lx", text.empty() ? "" : ",", value);
    text += part;
  }
  return text;
}

double MsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

int PrintSettled(Display* display, int settleMs, const std::string& before) {
  const TClock::time_point start = TClock::now();
  TSignature last = ReadProbes(display);
  TClock::time_point since = start;
  while (MsSince(since) < settleMs || (!before.empty() && Format(last) == before)) {
    if (MsSince(start) > 60000) {
      std::fprintf(stderr, "timeout: the screen never settled on a new picture\n");
      return 1;
    }
    usleep(20000);
    const TSignature now = ReadProbes(display);
    if (now != last) last = now, since = TClock::now();
  }
  std::printf("%s\n", Format(last).c_str());
  return 0;
}

// Changes of the screen as the X server reports them.
class TScreenChanges {
 public:
  explicit TScreenChanges(Display* display) : FDisplay(display) {
    int eventBase = 0, errorBase = 0;
    if (XDamageQueryExtension(display, &eventBase, &errorBase))
      FDamage = XDamageCreate(display, DefaultRootWindow(display), XDamageReportNonEmpty);
  }
  ~TScreenChanges() {
    if (FDamage) XDamageDestroy(FDisplay, FDamage);
  }
  TScreenChanges(const TScreenChanges&) = delete;
  TScreenChanges& operator=(const TScreenChanges&) = delete;

  // Forgets the changes reported so far.
  void Forget() {
    while (XPending(FDisplay)) {
      XEvent event;
      XNextEvent(FDisplay, &event);
    }
    if (FDamage) XDamageSubtract(FDisplay, FDamage, None, None);
    XFlush(FDisplay);
  }
  // Waits for a change (without the extension, or when none comes, timeoutMs at most).
  void Wait(int timeoutMs) {
    if (FDamage && XEventsQueued(FDisplay, QueuedAlready) == 0) {
      pollfd connection{ConnectionNumber(FDisplay), POLLIN, 0};
      poll(&connection, 1, timeoutMs);
    } else if (!FDamage) {
      usleep(static_cast<useconds_t>(timeoutMs) * 1000);
    }
    Forget();
  }

 private:
  Display* FDisplay;
  Damage FDamage = 0;
};

// Presses the key and waits until the probes show the signature: the milliseconds
// it took, or a negative value after the timeout.
double PressAndWait(Display* display, TScreenChanges& changes, KeyCode code,
                    const std::string& expected, int timeoutS) {
  XSync(display, False);
  changes.Forget();
  const TClock::time_point start = TClock::now();
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XFlush(display);
  while (Format(ReadProbes(display)) != expected) {
    if (MsSince(start) > timeoutS * 1000.0) {
      std::fprintf(stderr, "timeout: the screen never showed %s\n", expected.c_str());
      return -1;
    }
    changes.Wait(5);
  }
  return MsSince(start);
}

KeyCode CodeOf(Display* display, const std::string& keyName) {
  const KeySym symbol = XStringToKeysym(keyName.c_str());
  const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
  if (!code) std::fprintf(stderr, "unknown key %s\n", keyName.c_str());
  return code;
}

int Press(Display* display, const char* keyName, const std::string& expected, int timeoutS) {
  const KeyCode code = CodeOf(display, keyName);
  if (!code) return 2;
  TScreenChanges changes(display);
  const double ms = PressAndWait(display, changes, code, expected, timeoutS);
  if (ms < 0) return 1;
  std::printf("%.1f\n", ms);
  return 0;
}

// Presses "KEY SIGNATURE" lines from standard input one after the other, in this
// process so nothing but the viewer stands between a picture and the next press:
// "burst" at once, "sequential" after a second and a random part of a 60 Hz frame
// (so presses do not all fall at the same point of the vertical blank's cycle).
int Run(Display* display, const std::string& mode) {
  char key[64], signature[512];
  TScreenChanges changes(display);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  while (std::scanf("%63s %511s", key, signature) == 2) {
    const KeyCode code = CodeOf(display, key);
    if (!code) return 2;
    if (mode == "sequential") usleep(1000000 + static_cast<useconds_t>(std::rand() % 16667));
    const double ms = PressAndWait(display, changes, code, signature, 30);
    if (ms < 0) return 1;
    std::printf("%.1f\n", ms);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  int result = 2;
  if (command == "signature") {
    result = PrintSettled(display, argc > 2 ? std::atoi(argv[2]) : 700, argc > 3 ? argv[3] : "");
  } else if (command == "press" && argc > 3) {
    result = Press(display, argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 30);
  } else if (command == "run" && argc > 2) {
    result = Run(display, argv[2]);
  } else {
    std::fprintf(stderr,
                 "usage: %s signature [SETTLE_MS [BEFORE]] | press KEY SIGNATURE [TIMEOUT_S] | "
                 "run sequential|burst < KEY SIGNATURE lines\n",
                 argv[0]);
  }
  XCloseDisplay(display);
  return result;
}
