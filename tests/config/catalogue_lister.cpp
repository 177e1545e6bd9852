// Opens the catalogue page in a sheet of its own, writes its catalogue to the
// file named on the command line ("name<TAB>file" per row) and ends. Tests run
// it where Wine reports another Windows version to this program alone.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/config/catalogue_sheet.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    vtest::CatalogueSheet sheet;
    if (!sheet.Show()) return 3;
    std::string text;
    for (const vtest::Row& row : sheet.Catalogue()) text += row.name + "\t" + row.file + "\r\n";
    sheet.Close(PSBTN_CANCEL);
    FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 4;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return 0;
}
