// CallLog: the readable log a recording twin keeps, one line a call, and the
// ways tests read it back.
#pragma once

#include <string>
#include <vector>

class CallLog {
public:
    std::vector<std::string> log;

    void Clear() { log.clear(); }
    // Lines that start with a prefix ("SetVolume", "text").
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
        return out;
    }
    // Index of the first line equal to `line` at or after `from`; -1 when absent.
    int Find(const std::string& line, int from = 0) const {
        for (size_t i = static_cast<size_t>(from); i < log.size(); ++i)
            if (log[i] == line) return static_cast<int>(i);
        return -1;
    }
};
