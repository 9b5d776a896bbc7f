// Child program for the process tests: argv[1] output file, argv[2] exit code, argv[3] mode.
// Writes its command line (UTF-16 units) and its argv words (narrow text), one per line; in mode
// "wait" it first waits for the file argv[1] + ".go" to appear.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Text.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string out = argv[1];
    if (argc > 3 && std::string(argv[3]) == "wait") {
        for (int i = 0;
             i < 2000 && platform::GetFileKind(out + ".go") == platform::FileKind::Missing; ++i)
            platform::Sleep(10);
    }
    FILE* f = platform::OpenFile(out, "wb");
    if (!f) return 3;
    std::u16string text = platform::CommandLine(argc, argv) + u'\n';
    for (int i = 1; i < argc; ++i) {
        for (const char* p = argv[i]; *p; ++p)
            text += platform::NarrowToWideChar(*p);
        text += u'\n';
    }
    std::fwrite(text.data(), sizeof(char16_t), text.size(), f);
    std::fclose(f);
    return std::atoi(argv[2]);
}
