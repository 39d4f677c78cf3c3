// The configuration loader: any file either loads whole or leaves the state
// exactly as it was, and a file that loads is exactly what storing that state
// writes again. The record has the configuration's shape: a placement, the two
// selectors, the splitter, the volume and a block per track grid.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "app/Config.h"

namespace {

struct Record {
    int32_t x = 10, y = 20, width = 640, height = 480;
    bool maximized = false;
    String fileFolder = "/music";
    int32_t fileType = 0;
    String folder = "/music/albums";
    int32_t splitter = 300;
    float volume = 75.0f;
    int64_t stamp = 0;
    uint8_t flags = 0;
    double ratio = 0.5;
    std::vector<String> grids{"layout one", "layout two"};

    void Serialize(Stream& s)
    {
        s % x % y % width % height % maximized;
        s % fileFolder % fileType % folder % splitter % volume % stamp % flags % ratio;
        // As many grid blocks as there are grids now; a file made for another count fails.
        for (String& grid : grids)
            s % grid;
    }

    std::string Bytes()
    {
        Stream out = Stream::ForStoring();
        Serialize(out);
        return out.Data();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    Record record;
    const std::string before = record.Bytes();
    const ConfigSerializer serialize = [&record](Stream& s) { record.Serialize(s); };
    if (LoadConfigData(file, serialize))
        FUZZ_CHECK(WrapConfig(record.Bytes()) == file);
    else
        FUZZ_CHECK(record.Bytes() == before);
    return 0;
}
