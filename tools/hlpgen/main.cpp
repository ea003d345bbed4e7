// hlpgen: turns the help source text into the help file and its HTML twin.
//
//   hlpgen <source.txt> <out.hlp> <out.html>
//
// Exit status: 0 on success, 1 when the source or an output is at fault
// (the message names the file and line), 2 on a usage error.
#include "help_parser.h"
#include "hlp_file.h"
#include "html_page.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    return text.str();
}

void writeFile(const std::string& path, const char* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + path);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: hlpgen <source.txt> <out.hlp> <out.html>\n";
        return 2;
    }
    try {
        const std::string source = readFile(argv[1]);
        const hlpgen::HelpDocument doc = hlpgen::parseHelpSource(source, argv[1]);
        // Both outputs are built in memory first, so a failure leaves no half-written file.
        const hlpgen::Bytes hlp = hlpgen::buildHelpFile(doc);
        const std::string html = hlpgen::buildHtmlPage(doc);
        writeFile(argv[2], reinterpret_cast<const char*>(hlp.data()), hlp.size());
        writeFile(argv[3], html.data(), html.size());
    } catch (const hlpgen::SourceError& e) {
        std::cerr << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "hlpgen: error: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
