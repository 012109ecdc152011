// Times a program's start until its first top-level window is mapped on the X display, over a
// number of runs, and prints the median, the fastest and the slowest run in milliseconds.
//
//   startup_timer RUNS PROGRAM [ARGUMENTS...]
//
// The timer watches the root window for new mapped children, so it needs a display without a
// window manager (Xvfb); the program is ended after each run.

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// One run: milliseconds from the start to the first map, or a negative value on failure.
double TimeOneRun(Display* display, char** command) {
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, True);  // drop what earlier runs left
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child < 0)
    return -1;
  if (child == 0) {
    execvp(command[0], command);
    _exit(127);
  }
  double elapsed = -1;
  const int fd = ConnectionNumber(display);
  // A program that maps no window on this display (another display, the offscreen platform)
  // fails the run instead of holding the timer for ever.
  const Clock::time_point give_up = start + std::chrono::seconds(30);
  while (elapsed < 0) {
    if (Clock::now() > give_up) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      return -1;
    }
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) {
        elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        break;
      }
    }
    if (elapsed >= 0)
      break;
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return -1;  // ended without a window
    fd_set read;
    FD_ZERO(&read);
    FD_SET(fd, &read);
    timeval wait{0, 20000};
    select(fd + 1, &read, nullptr, nullptr, &wait);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGUMENTS...]\n", argv[0]);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display (run under xvfb-run)\n");
    return 1;
  }
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double ms = TimeOneRun(display, argv + 2);
    if (ms < 0) {
      std::fprintf(stderr, "%s showed no window\n", argv[2]);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  const double median = times.size() % 2 == 1
                            ? times[times.size() / 2]
                            : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  std::printf("%.1f %.1f %.1f\n", median, times.front(), times.back());
  XCloseDisplay(display);
  return 0;
}
