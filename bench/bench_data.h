#pragma once

// Collections for the benchmark programs: the files bench/run.sh uses,
// written by bench/generate.py into bench/data on first use.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tellavin::bench {

// The path of a generated collection: format "netscape", "opera" or
// "favorites", size as generate.py takes it ("10k", "100k", "1M").
inline std::string Collection(const std::string& format, const std::string& size) {
    namespace fs = std::filesystem;
    const fs::path bench = fs::path(__FILE__).parent_path();
    const char* extension = format == "netscape" ? ".html" : format == "opera" ? ".adr" : "";
    const fs::path out = bench / "data" / (format + "-" + size + extension);
    const fs::path summary = out.string() + ".json";
    if (!fs::exists(summary)) {
        fs::create_directories(out.parent_path());
        fs::remove_all(out);
        auto command = "python3 '" + (bench / "generate.py").string() + "' " + format +
                       " --links " + size + " --out '" + out.string() + "' > '" + summary.string() +
                       "'";
        if (std::system(command.c_str()) != 0) {
            fs::remove(summary);
            throw std::runtime_error("cannot generate " + out.string());
        }
    }
    return out.string();
}

} // namespace tellavin::bench
