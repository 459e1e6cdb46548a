// Generates the library's public header, the Linux version script, the Windows .def file and
// the lists of expected export names from the export manifest.
//   gen_exports <manifest> <output folder>
//
// A manifest line: NAME | both|dec | BYTES | RETURNS | ARGUMENTS | SUMMARY [| built]
// ARGUMENTS: "name:type:dir:description" joined by "; ". Only built routines are declared and
// exported; the others are the library's plan.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Argument {
    std::string name, type, dir, description;
};

struct Routine {
    std::string name;
    bool plainToo = false;
    int bytes = 0;
    std::string returns;
    std::vector<Argument> args;
    std::string summary;
    bool built = false;
};

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::vector<std::string> split(const std::string& s, const std::string& sep)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + sep.size())
        out.push_back(trim(s.substr(start, at - start)));
    out.push_back(trim(s.substr(start)));
    return out;
}

// The C type of an argument passed by address (or, for "len4v", by value).
bool cType(const std::string& type, std::string& out)
{
    static const std::map<std::string, std::string> kTypes = {
        {"i2", "int16_t*"}, {"i4", "int32_t*"}, {"r4", "float*"},    {"log", "int32_t*"}, {"pt", "float*"},
        {"win", "float*"},  {"i2s", "int16_t*"}, {"i4s", "int32_t*"}, {"r4s", "float*"},  {"logs", "int32_t*"},
        {"pts", "float*"},  {"ch", "char*"},     {"len4v", "int32_t"},
        {"dpts", "double*"},
    };
    if (const auto it = kTypes.find(type); it != kTypes.end()) {
        out = it->second;
        return true;
    }
    if (type.starts_with("ch") && type.size() > 2) {  // chN, chNs
        out = "char*";
        return true;
    }
    return false;
}

std::string typeWords(const std::string& type)
{
    static const std::map<std::string, std::string> kWords = {
        {"i2", "2-byte integer"},          {"i4", "4-byte integer"},
        {"r4", "4-byte real"},             {"log", "logical, -1 true, 0 false"},
        {"pt", "point: longitude, latitude"}, {"win", "window: west, south, east, north"},
        {"i2s", "2-byte integers"},        {"i4s", "4-byte integers"},
        {"r4s", "4-byte reals"},           {"logs", "logicals"},
        {"pts", "points: longitude, latitude pairs"}, {"ch", "text"},
        {"len4v", "4-byte integer, by value"},
        {"dpts", "points: longitude, latitude pairs of 8-byte reals"},
    };
    if (const auto it = kWords.find(type); it != kWords.end())
        return it->second;
    if (type.ends_with("s"))
        return "texts of " + type.substr(2, type.size() - 3) + " characters";
    return "text of " + type.substr(2) + " characters";
}

bool parse(const std::string& path, std::vector<Routine>& routines, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (trim(line).empty() || trim(line)[0] == '#')
            continue;
        const auto f = split(line, " | ");
        const std::string where = path + ":" + std::to_string(lineNo) + ": ";
        if (f.size() < 6 || f.size() > 7 || (f[1] != "both" && f[1] != "dec") || (f.size() == 7 && f[6] != "built")) {
            error = where + "malformed line";
            return false;
        }
        Routine r;
        r.name = f[0];
        r.plainToo = f[1] == "both";
        r.bytes = std::atoi(f[2].c_str());
        r.returns = f[3];
        r.summary = f[5];
        r.built = f.size() == 7 && f[6] == "built";
        if (!f[4].empty()) {
            for (const std::string& a : split(f[4], "; ")) {
                const auto p = split(a, ":");
                std::string c;
                if (p.size() != 4 || !cType(p[1], c)) {
                    error = where + "bad argument '" + a + "'";
                    return false;
                }
                r.args.push_back({p[0], p[1], p[2], p[3]});
            }
        }
        if (r.bytes != 4 * int(r.args.size())) {
            error = where + "byte count " + f[2] + " does not match " + std::to_string(r.args.size()) + " arguments";
            return false;
        }
        routines.push_back(r);
    }
    return true;
}

std::string returnType(const std::string& r)
{
    if (r == "r4")
        return "float";
    if (r == "i4" || r == "log")
        return "int32_t";
    if (r == "i2")
        return "int16_t";
    return "void";
}

void writeHeader(std::ostream& out, const std::vector<Routine>& routines)
{
    out << "/* The exported routines of the tavu32d geographic library. Generated from the export\n"
           " * manifest; do not edit. Every argument is passed by address (texts as the address of\n"
           " * their first character), except where a parameter says \"by value\". Angles are radians,\n"
           " * east and north positive, unless a parameter says otherwise. A routine that meets an\n"
           " * error prints a report on standard output and ends the process. */\n"
           "#ifndef TAVU32D_H\n#define TAVU32D_H\n\n#include <stdint.h>\n\n"
           "#if defined(_WIN32)\n#define TAVU_CALL __stdcall\n#define TAVU_API\n"
           "#else\n#define TAVU_CALL\n#define TAVU_API __attribute__((visibility(\"default\")))\n#endif\n\n"
           "#ifdef __cplusplus\nextern \"C\" {\n#endif\n";
    for (const Routine& r : routines) {
        if (!r.built)
            continue;
        out << "\n/** " << r.name << ": " << r.summary << "\n";
        for (const Argument& a : r.args)
            out << " *  @param[" << a.dir << "] " << a.name << " " << a.description << " (" << typeWords(a.type)
                << ")\n";
        out << " */\nTAVU_API " << returnType(r.returns) << " TAVU_CALL " << r.name << "(";
        for (std::size_t i = 0; i < r.args.size(); ++i) {
            std::string c;
            cType(r.args[i].type, c);
            out << (i ? ", " : "") << c << " " << r.args[i].name;
        }
        out << (r.args.empty() ? "void" : "") << ");\n";
    }
    out << "\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
}

// The text lengths of the built routines' fixed-length texts, for the shims.
void writeShapes(std::ostream& out, const std::vector<Routine>& routines)
{
    out << "// Text lengths of the exported routines' arguments. Generated from the export manifest.\n"
           "#pragma once\n\nnamespace geo::shape {\n";
    for (const Routine& r : routines) {
        std::string fields;
        for (const Argument& a : r.args) {
            if (a.type.size() > 2 && a.type.starts_with("ch") && std::isdigit(static_cast<unsigned char>(a.type[2])))
                fields += "    static constexpr long " + a.name + " = " +
                          std::to_string(std::atoi(a.type.c_str() + 2)) + ";\n";
        }
        if (r.built && !fields.empty())
            out << "struct " << r.name << " {\n" << fields << "};\n";
    }
    out << "}  // namespace geo::shape\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <manifest> <output folder>\n", argv[0]);
        return 2;
    }
    std::vector<Routine> routines;
    std::string error;
    if (!parse(argv[1], routines, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::filesystem::path dir = argv[2];
    std::filesystem::create_directories(dir);
    std::ofstream header(dir / "tavu32d.h"), script(dir / "tavu32d.map"), def(dir / "tavu32d.def"),
        linuxNames(dir / "exports-linux.txt"), windowsNames(dir / "exports-windows.txt"),
        shapes(dir / "tavu32d_shapes.h");
    writeHeader(header, routines);
    writeShapes(shapes, routines);
    script << "{\n  global:\n";
    def << "LIBRARY tavu32d\nEXPORTS\n";
    for (const Routine& r : routines) {
        if (!r.built)
            continue;
        const std::string decorated = r.name + "@" + std::to_string(r.bytes);
        script << "    " << r.name << ";\n";
        linuxNames << r.name << "\n";
        if (r.plainToo) {
            def << r.name << " = " << decorated << "\n";
            windowsNames << r.name << "\n";
        }
        def << "_" << decorated << " = " << decorated << "\n";
        windowsNames << "_" << decorated << "\n";
    }
    script << "  local: *;\n};\n";
    return header && script && def && linuxNames && windowsNames && shapes ? 0 : 1;
}
