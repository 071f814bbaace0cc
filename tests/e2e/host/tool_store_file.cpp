#include <memory>

#include "file_profile_store.h"

std::unique_ptr<ProfileStore> ToolStore() {
    return std::make_unique<FileProfileStore>();
}
