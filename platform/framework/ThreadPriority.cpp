#include "platform/framework/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

void GiveWayToInteractiveWork() {
  // Nice values are per thread on Linux; a thread may always lower its own priority.
  // Failing to do so only costs speed, so the result is not looked at.
  static_cast<void>(setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10));
}
