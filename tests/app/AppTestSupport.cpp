#include "app/AppTestSupport.h"

#include <fstream>

namespace apptest {

void WriteText(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace apptest
