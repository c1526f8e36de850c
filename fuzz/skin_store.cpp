// The skin store's stored form: any input is refused cleanly or read; what is read writes
// back to a form that reads again into the same items and writes byte-identical.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/WinSkinStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kt::TSkinStore store;
    if (!store.LoadFromStream(data, size)) return 0;
    std::vector<uint8_t> saved, again;
    store.SaveToStream(saved);
    kt::TSkinStore copy;
    if (!copy.LoadFromStream(saved)) std::abort();
    if (copy.Store().Count() != store.Store().Count()) std::abort();
    for (int i = 0; i < store.Store().Count(); ++i)
        if (copy.Store()[i].Name() != store.Store()[i].Name() ||
            copy.Store()[i].Data() != store.Store()[i].Data())
            std::abort();
    copy.SaveToStream(again);
    if (again != saved) std::abort();
    return 0;
}
