// icongen: turns text art into a Windows .ico or .cur file.
// Usage: icongen <art.txt> <out.ico|out.cur>
#include "art.hpp"
#include "icofile.hpp"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // Write beside the target and rename, so a failed run never leaves a half-written file behind.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            throw icongen::ArtError(path + ": cannot write the file");
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw icongen::ArtError(path + ": cannot write the file");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: icongen <art.txt> <out.ico|out.cur>\n";
        return 2;
    }
    try {
        const std::string art_path = argv[1];
        const std::string out_path = argv[2];
        const auto wanted = icongen::kind_for_path(out_path);
        const auto art = icongen::read_art(art_path);
        if (art.kind != wanted)
            throw icongen::ArtError(art_path + ": describes " +
                                    (art.kind == icongen::Kind::icon ? "an icon" : "a cursor") + ", but " + out_path +
                                    " is " + (wanted == icongen::Kind::icon ? "an icon" : "a cursor") + " file");
        write_file(out_path, icongen::encode(art));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "icongen: " << e.what() << '\n';
        return 1;
    }
}
