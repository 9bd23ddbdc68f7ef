#pragma once

#include "platform/Platform.h"

#include <memory>

namespace tintaro {

std::unique_ptr<Printer> createCupsPrinter();

} // namespace tintaro
