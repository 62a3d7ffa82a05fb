#include <atomic>
#include <mutex>

#include "platform/usb/Ch375Library.h"

namespace usb {
namespace {

std::atomic<Ch375Library*> installed{nullptr};

}  // namespace

Ch375Library& Ch375()
{
    if (Ch375Library* library = installed.load()) {
        return *library;
    }
    static const std::unique_ptr<Ch375Library> libusb = MakeLibusbCh375Library();
    return *libusb;
}

void SetCh375Library(Ch375Library* library) { installed = library; }

}  // namespace usb
