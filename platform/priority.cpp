#include "platform/priority.h"
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void Priority_RaiseProcess() { setpriority(PRIO_PROCESS, 0, -10); }

void Priority_RaiseThread(int level) {
  // A nice value per thread id is how Linux gives one thread a higher share.
  pid_t tid = (pid_t)syscall(SYS_gettid);
  setpriority(PRIO_PROCESS, (id_t)tid, level >= 2 ? -20 : -15);
}
