// TempFolder: a private folder under the system's temporary folder ($TMPDIR,
// else /tmp), removed with everything in it when the object goes. The one
// scratch folder of the unit tests, tool tests, fuzz targets and benchmarks;
// free of any test framework, so each caller checks Made() its own way.
#pragma once

#include <dirent.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

class TempFolder {
public:
    // Makes <temp>/<stem>-XXXXXX.
    explicit TempFolder(const std::string& stem = "zrb") {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + stem + "-XXXXXX";
        if (mkdtemp(&pattern[0])) path_ = pattern;
    }
    ~TempFolder() {
        if (path_.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    // <folder>/<relative>.
    std::string Path(const std::string& relative) const { return path_ + "/" + relative; }
    // Makes <folder>/<relative> and the folders above it; true when it is there.
    bool MakeFolder(const std::string& relative) const {
        std::error_code error;
        std::filesystem::create_directories(Path(relative), error);
        return !error && std::filesystem::is_directory(Path(relative));
    }

private:
    std::string path_;
};

// Names in a folder, in the order the folder lists them, "." and ".." left out.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}
