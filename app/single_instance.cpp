#include "app/single_instance.h"

#include "delivery/game_delivery.h"

namespace quillomi::app {

InstanceRole ClaimInstance(platform::Platform& platform) {
  const platform::InstanceMutex mutex = platform.session.CreateInstanceMutex(kInstanceMutexName);
  if (!mutex.created || !mutex.already_exists) return InstanceRole::kFirst;
  // The running copy is found by its window class alone; if its main window
  // does not exist yet, both requests go nowhere.
  const auto running = platform.windows.FindTopWindow(delivery::kPanelClass);
  platform.windows.SendRestore(running);
  platform.windows.SetForeground(running);
  return InstanceRole::kSecond;
}

}  // namespace quillomi::app
