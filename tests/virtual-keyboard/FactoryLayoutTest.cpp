#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "virtual-keyboard/KeyboardMemory.h"

namespace vkbtest {
namespace {

// The value of attribute name in one element's text; empty when absent.
std::string Attribute(const std::string& element, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    const size_t at = element.find(key);
    if (at == std::string::npos) return {};
    const size_t start = at + key.size();
    return element.substr(start, element.find('"', start) - start);
}

// The keyboard's factory table must put each key where the model's layout file expects it.
TEST(FactoryLayout, MatchesTheModelsLayoutFile)
{
    const char* source = std::getenv("TV_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream file(std::string(source) + "/data/layouts/qx71_max.xml");
    if (!file) GTEST_SKIP() << "no layout file";
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    size_t keys = 0;
    std::vector<bool> listed(vkb::kKeyCount, false);
    for (size_t at = xml.find("<key "); at != std::string::npos; at = xml.find("<key ", at + 1)) {
        const std::string element = xml.substr(at, xml.find('>', at) - at);
        const unsigned code = std::stoul(Attribute(element, "code"), nullptr, 16);
        const size_t index = std::stoul(Attribute(element, "key_index"));
        ASSERT_LT(index, vkb::kKeyCount);
        EXPECT_EQ(vkb::DefaultKeyUsage(index), code) << "key index " << index;
        listed[index] = true;
        ++keys;
    }
    EXPECT_GT(keys, 60u);
    for (size_t i = 0; i < vkb::kKeyCount; ++i) {
        if (!listed[i]) {
            EXPECT_EQ(vkb::DefaultKeyUsage(i), 0) << "key index " << i;
        }
    }
}

}  // namespace
}  // namespace vkbtest
