// The catalogue's rules over file names and list states, and the process
// starter's path rules, over texts of any shape.
#include <cstdint>
#include <string>

#include "config/screensavers_rules.h"
#include "fuzz/fuzz_input.h"
#include "runner/process_rules.h"

using namespace velmora::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::FuzzInput in(data, size);
    const int selected = in.Int(), rows = in.Int(), mark = in.Int();
    const int direction = (in.Byte() & 1) ? 1 : -1;
    const bool ntLine = in.Byte() & 1;
    const std::string name = in.Line();
    const std::string arguments = in.Line();

    std::string bare = NameWithoutExtension(name);
    VELMORA_FUZZ_CHECK(bare.size() == (name.size() >= 4 ? name.size() - 4 : 0));
    VELMORA_FUZZ_CHECK(name.compare(0, bare.size(), bare) == 0);
    DisplayNameSource(ntLine, name.size());
    IsRotatorFile(name);

    // A program started from a path: the command line ends with the
    // arguments, and the working folder is the start of the path.
    std::string command = velmora::process::CommandLineFor(name, arguments);
    VELMORA_FUZZ_CHECK(command.size() >= name.size() + arguments.size());
    VELMORA_FUZZ_CHECK(command.compare(command.size() - arguments.size(), arguments.size(),
                                       arguments) == 0);
    for (velmora::process::LeadBytePredicate lead :
         {static_cast<velmora::process::LeadBytePredicate>(nullptr),
          +[](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }}) {
        std::string folder = velmora::process::WorkingFolderOf(name, lead);
        VELMORA_FUZZ_CHECK(folder.size() <= name.size());
        VELMORA_FUZZ_CHECK(name.compare(0, folder.size(), folder) == 0);
    }

    OnCatalogueClick(selected);
    OnRotationClick(selected, rows, mark);
    int target = MoveTarget(mark, rows, direction);
    if (target != -1) {
        VELMORA_FUZZ_CHECK(target >= 0 && target < rows);
        VELMORA_FUZZ_CHECK(target == mark + direction);
        AfterMove(target, rows, direction);
    }
    return 0;
}
