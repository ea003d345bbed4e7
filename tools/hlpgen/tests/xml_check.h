// A small well-formedness check for the HTML page: elements nest and close,
// there is one root, attributes are quoted and unique, entities are known,
// no stray '<' or '&'. It also collects ids and in-page link targets.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace xmlcheck {

struct Result {
    std::string error; // empty when the document is well-formed
    std::multiset<std::string> ids;
    std::vector<std::string> anchorTargets; // href="#x" gives "x"
    std::map<std::string, int> elementCounts;
};

inline bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == ':';
}

inline Result check(const std::string& doc)
{
    Result r;
    std::vector<std::string> open;
    bool rootSeen = false;
    std::size_t i = 0;
    auto fail = [&](const std::string& what) {
        r.error = what + " at offset " + std::to_string(i);
        return r;
    };
    auto entityOk = [&](std::size_t at) {
        const std::size_t end = doc.find(';', at);
        if (end == std::string::npos || end - at > 10) return false;
        const std::string name = doc.substr(at + 1, end - at - 1);
        if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") return true;
        if (name.size() > 1 && name[0] == '#') return name.find_first_not_of("0123456789", 1) == std::string::npos ||
                                                      (name[1] == 'x' && name.size() > 2);
        return false;
    };
    while (i < doc.size()) {
        if (doc[i] == '&') {
            if (!entityOk(i)) return fail("bad entity");
            ++i;
        } else if (doc[i] != '<') {
            const bool blank = doc[i] == ' ' || doc[i] == '\n' || doc[i] == '\t' || doc[i] == '\r';
            if (open.empty() && !blank) return fail("text outside the root element");
            ++i;
        } else if (doc.compare(i, 4, "<!--") == 0) {
            const std::size_t end = doc.find("-->", i);
            if (end == std::string::npos) return fail("unclosed comment");
            i = end + 3;
        } else if (doc.compare(i, 9, "<!DOCTYPE") == 0 || doc.compare(i, 2, "<?") == 0) {
            if (rootSeen) return fail("declaration after the root element");
            const std::size_t end = doc.find('>', i);
            if (end == std::string::npos) return fail("unclosed declaration");
            i = end + 1;
        } else if (doc.compare(i, 2, "</") == 0) {
            std::size_t j = i + 2;
            while (j < doc.size() && isNameChar(doc[j])) ++j;
            const std::string name = doc.substr(i + 2, j - i - 2);
            if (j >= doc.size() || doc[j] != '>') return fail("bad end tag");
            if (open.empty() || open.back() != name) return fail("</" + name + "> does not close the open element");
            open.pop_back();
            i = j + 1;
        } else {
            std::size_t j = i + 1;
            while (j < doc.size() && isNameChar(doc[j])) ++j;
            const std::string name = doc.substr(i + 1, j - i - 1);
            if (name.empty()) return fail("bad start tag");
            if (open.empty()) {
                if (rootSeen) return fail("second root element");
                rootSeen = true;
            }
            ++r.elementCounts[name];
            std::set<std::string> attributes;
            while (true) {
                while (j < doc.size() && doc[j] == ' ') ++j;
                if (j >= doc.size()) return fail("unclosed start tag");
                if (doc.compare(j, 2, "/>") == 0) {
                    j += 2;
                    break;
                }
                if (doc[j] == '>') {
                    open.push_back(name);
                    ++j;
                    break;
                }
                std::size_t k = j;
                while (k < doc.size() && isNameChar(doc[k])) ++k;
                const std::string attribute = doc.substr(j, k - j);
                if (attribute.empty() || k + 1 >= doc.size() || doc[k] != '=' || (doc[k + 1] != '"' && doc[k + 1] != '\'')) {
                    return fail("bad attribute in <" + name + ">");
                }
                if (!attributes.insert(attribute).second) return fail("repeated attribute " + attribute);
                const std::size_t close = doc.find(doc[k + 1], k + 2);
                if (close == std::string::npos) return fail("unclosed attribute value");
                const std::string value = doc.substr(k + 2, close - k - 2);
                if (value.find('<') != std::string::npos) return fail("'<' in an attribute value");
                for (std::size_t a = value.find('&'); a != std::string::npos; a = value.find('&', a + 1)) {
                    if (!entityOk(k + 2 + a)) return fail("bad entity in an attribute value");
                }
                if (attribute == "id") r.ids.insert(value);
                if (attribute == "href" && !value.empty() && value[0] == '#') r.anchorTargets.push_back(value.substr(1));
                j = close + 1;
            }
            i = j;
        }
    }
    if (!open.empty()) return fail("<" + open.back() + "> is not closed");
    if (!rootSeen) return fail("no root element");
    return r;
}

} // namespace xmlcheck
