// A libFuzzer target for mixora-dat's import. Any input is offered as a JSON database; one that is
// taken is exported, and the export must be taken again and export to the same document.
#include "tools/mixora-dat/DatabaseJson.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!DatabaseJson::Import(input).isEmpty())
        return 0;
    const QByteArray exported = DatabaseJson::Export();
    if (!DatabaseJson::Import(exported).isEmpty() || DatabaseJson::Export() != exported)
        std::abort();
    return 0;
}
