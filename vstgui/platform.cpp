#include "vstgui/platform.h"

#include <chrono>
#include <thread>

namespace VSTGUI {

uint32_t SystemClock::getTicks() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace VSTGUI
