// Runs zrb_raise_error as a child process and checks what each runtime-error
// road prints on standard output and standard error and how it exits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
struct Outcome {
    int status = -1;  // exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TemporaryPath(const char* stem) {
    std::string pattern = ::testing::TempDir() + stem + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd >= 0) close(fd);
    return name.data();
}

// stdinText == nullptr gives the child /dev/null as its input.
Outcome RunHelper(const std::vector<std::string>& arguments, const char* stdinText) {
    const std::string inPath = TemporaryPath("zrb_in_");
    const std::string outPath = TemporaryPath("zrb_out_");
    const std::string errPath = TemporaryPath("zrb_err_");
    if (stdinText) {
        std::ofstream(inPath, std::ios::binary) << stdinText;
    }
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(stdinText ? inPath.c_str() : "/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        std::string program = ZRB_RAISE_ERROR_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copies = arguments;
        for (auto& argument : copies) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(99);
    }
    Outcome outcome;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    outcome.out = ReadFile(outPath);
    outcome.err = ReadFile(errPath);
    unlink(inPath.c_str());
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return outcome;
}

const std::string kBoomReport = "Korvanth Runtime Error : boom\n\n";
const std::string kMarker = "{{~~~~}}\n\n";
}  // namespace

TEST(RuntimeErrorRoad, WithoutInputPrintsReportAndExits255) {
    const Outcome outcome = RunHelper({"error", "boom"}, nullptr);
    EXPECT_EQ(outcome.status, 255);
    EXPECT_EQ(outcome.out, kBoomReport);
    EXPECT_EQ(outcome.err, kMarker);
}

TEST(RuntimeErrorRoad, DebuggerCommands) {
    Outcome quit = RunHelper({"error", "boom"}, "q\n");
    EXPECT_EQ(quit.status, 0);
    EXPECT_EQ(quit.out, kBoomReport);

    // fgets keeps the newline, so it lands inside the frame.
    Outcome unknown = RunHelper({"error", "boom"}, "x\n");
    EXPECT_EQ(unknown.status, 255);
    EXPECT_EQ(unknown.out, kBoomReport + "????? x\n ?????");

    Outcome again = RunHelper({"error", "boom"}, "s\n");
    EXPECT_EQ(again.status, 255);
    EXPECT_EQ(again.out, kBoomReport + kBoomReport);
    EXPECT_EQ(again.err, kMarker + kMarker);

    // "?" and "@" read on without printing the report again; "@" answers with
    // the empty line of a null reference.
    Outcome inspect = RunHelper({"error", "boom"}, "?\n@1234\nq\n");
    EXPECT_EQ(inspect.status, 0);
    EXPECT_EQ(inspect.out, kBoomReport);
    EXPECT_EQ(inspect.err, kMarker + "\n");

    for (const char* command : {"e\n", "l\n", "r\n"}) {
        Outcome repeat = RunHelper({"error", "boom"}, command);
        EXPECT_EQ(repeat.out, kBoomReport + kBoomReport) << command;
    }
}

TEST(RuntimeErrorRoad, LineWithoutNewlineOrTooLongEnds255) {
    Outcome unterminated = RunHelper({"error", "boom"}, "q");
    EXPECT_EQ(unterminated.status, 255);
    EXPECT_EQ(unterminated.out, kBoomReport);

    // 300 bytes exceed the 255-byte line: the first read holds no newline.
    const std::string longLine = std::string(300, 'q') + "\n";
    Outcome tooLong = RunHelper({"error", "boom"}, longLine.c_str());
    EXPECT_EQ(tooLong.status, 255);
}

TEST(RuntimeErrorRoad, MessageBytesAreLow8BitsOfCodePoints) {
    // The report writes each byte of the message as it is.
    const Outcome outcome = RunHelper({"error", "caf\xE9"}, nullptr);
    EXPECT_EQ(outcome.out, "Korvanth Runtime Error : caf\xE9\n\n");
}

TEST(RuntimeErrorRoad, QuitAppAndEmptyMessageExitZeroSilently) {
    for (const auto& arguments : {std::vector<std::string>{"quit"}, std::vector<std::string>{"error", ""}}) {
        const Outcome outcome = RunHelper(arguments, nullptr);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(RuntimeErrorRoad, UncaughtException) {
    const Outcome outcome = RunHelper({"uncaught"}, nullptr);
    EXPECT_EQ(outcome.status, 255);
    EXPECT_EQ(outcome.out, "Korvanth Runtime Error : Uncaught Korvanth Exception\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(RuntimeErrorRoad, FatalSignalsReportTheirMessage) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SEGV", "Memory access violation"},
        {"ILL", "Illegal instruction"},
        {"FPE", "Floating point exception"},
        {"BUS", "Bus error"},
    };
    for (const auto& [name, message] : cases) {
        const Outcome outcome = RunHelper({"signal", name}, nullptr);
        EXPECT_EQ(outcome.status, 255) << name;
        EXPECT_EQ(outcome.out, "Korvanth Runtime Error : " + message + "\n\n") << name;
        EXPECT_EQ(outcome.err, kMarker) << name;
    }
    const Outcome unknown = RunHelper({"unknown-signal"}, "q\n");
    EXPECT_EQ(unknown.status, 0);
    EXPECT_EQ(unknown.out, "Korvanth Runtime Error : Unknown signal\n\n");
}

TEST(RuntimeErrorRoad, SignalReportRepeatsOnCommand) {
    const Outcome outcome = RunHelper({"signal", "SEGV"}, "s\nq\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              "Korvanth Runtime Error : Memory access violation\n\n"
              "Korvanth Runtime Error : Memory access violation\n\n");
}
