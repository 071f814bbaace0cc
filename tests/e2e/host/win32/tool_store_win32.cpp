#include <memory>

#include "profile_store_win32.h"

std::unique_ptr<ProfileStore> ToolStore() {
    return std::make_unique<Win32ProfileStore>();
}
