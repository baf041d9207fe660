// kvr-cli convert of a 64 KB Intel HEX file as a whole process, beside
// objcopy -I ihex -O binary on the same file; and what any run costs before
// it converts anything: kvr-cli --help, and a program that only starts Qt.
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char **environ;

namespace {

// 4096 records of 16 bytes, as compilers and objcopy write them.
QByteArray HexFile64K() {
  QByteArray file;
  for (int address = 0; address < 0x10000; address += 16) {
    QByteArray record;
    record.append(char(16)).append(char(address >> 8)).append(char(address & 0xFF)).append('\0');
    for (int i = 0; i < 16; ++i)
      record.append(static_cast<char>((address + i) * 7 % 251));
    int sum = 0;
    for (const char c : record)
      sum += static_cast<unsigned char>(c);
    record.append(static_cast<char>(-sum));
    file += ':' + record.toHex().toUpper() + "\r\n";
  }
  return file + ":00000001FF\r\n";
}

// Runs the program to its end with its output thrown away; false when it
// could not be started or did not succeed.
bool Run(const QStringList &command) {
  std::vector<QByteArray> args;
  for (const QString &arg : command)
    args.push_back(arg.toLocal8Bit());
  std::vector<char *> argv;
  for (QByteArray &arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

struct Files {
  QTemporaryDir folder;
  QString hex = folder.filePath(QStringLiteral("image.hex"));
  QString bin = folder.filePath(QStringLiteral("image.bin"));
  Files() {
    QFile file(hex);
    if (file.open(QIODevice::WriteOnly))
      file.write(HexFile64K());
  }
};

void RunEach(benchmark::State &state, const QStringList &command) {
  if (command.first().isEmpty()) {
    state.SkipWithError("program not found");
    return;
  }
  for (auto _ : state)
    if (!Run(command)) {
      state.SkipWithError("the program failed");
      return;
    }
}

// A program built beside this one.
QString Beside(const char *program) {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(program);
}

QString KvrCli() { return Beside("kvr-cli"); }

void BM_KvrCliConvert64KbHex(benchmark::State &state) {
  Files files;
  RunEach(state,
          {KvrCli(), QStringLiteral("--quiet"), QStringLiteral("convert"), files.hex, files.bin});
}
BENCHMARK(BM_KvrCliConvert64KbHex)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ObjcopyIhexToBinary64Kb(benchmark::State &state) {
  Files files;
  RunEach(state, {QStandardPaths::findExecutable(QStringLiteral("objcopy")), QStringLiteral("-I"),
                  QStringLiteral("ihex"), QStringLiteral("-O"), QStringLiteral("binary"), files.hex,
                  files.bin});
}
BENCHMARK(BM_ObjcopyIhexToBinary64Kb)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KvrCliStartOnly(benchmark::State &state) {
  RunEach(state, {KvrCli(), QStringLiteral("--help")});
}
BENCHMARK(BM_KvrCliStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QtCoreStartOnly(benchmark::State &state) { RunEach(state, {Beside("kvr_qt_start_probe")}); }
BENCHMARK(BM_QtCoreStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
