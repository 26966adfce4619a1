#include "run/run_conversion.h"

#include <new>
#include <string_view>

#include "convert/conversion_pass.h"
#include "convert/file_type.h"
#include "run/console.h"
#include "run/input_file.h"
#include "run/output_file.h"
#include "run/platform.h"

namespace stpconv {
namespace {

constexpr std::string_view kFailedToOpen = "FAILED TO OPEN FILE: ";
constexpr std::string_view kFailedToRecognize = "FAILED TO RECOGNIZE FILE TYPE: ";
constexpr std::string_view kFailedToCreate = "FAILED TO CREATE FILE : ";
constexpr std::string_view kFailedToRead = "FAILED TO READ FILE: ";
constexpr std::string_view kFailedToWrite = "FAILED TO WRITE FILE : ";

// Scripts rely on the status being 0 whatever happens; the message says what did.
constexpr int kExitStatus = 0;

int failWith(Console& console, std::string_view message, std::string_view subject) {
  console.print(message);
  console.print(subject);
  waitForEnter(console);
  return kExitStatus;
}

enum class PassResult { Done, ReadFailed, WriteFailed };

// Load, convert and write batch after batch: memory stays that of one batch.
PassResult convertAll(Console& console, InputFile& input, ConversionPass& pass, OutputFile& output) {
  LineList inputLines;
  EncodedLines outputLines;
  for (;;) {
    const LoadStatus status = loadInputLines(input, inputLines);
    if (status == LoadStatus::ReadFailed) return PassResult::ReadFailed;
    outputLines.clear();
    pass.convertFile(inputLines, outputLines);
    if (!writeOutputFile(console, output, outputLines)) return PassResult::WriteFailed;
    if (status == LoadStatus::LastLines) return PassResult::Done;
  }
}

}  // namespace

int runConversion(std::span<const std::string> arguments) {
  Console console(platform::kStandardInput, platform::kStandardOutput);
  const std::string inputFileName = arguments.empty() ? promptForFileName(console) : arguments.front();

  InputFile input;
  if (!input.open(inputFileName)) return failWith(console, kFailedToOpen, inputFileName);

  const FileTypeDetection detection = detectFileType(inputFileName);
  if (!detection.type) return failWith(console, kFailedToRecognize, detection.extension);

  const std::string outputName = makeOutputName(inputFileName, detection.extensionLength);
  OutputFile output;
  if (!output.create(outputName, input.fd())) return failWith(console, kFailedToCreate, outputName);

  // Echoing into the file being read would feed the input with its own output.
  if (platform::isSameRegularFile(input.fd(), platform::kStandardOutput)) console.stopEcho();

  ConversionPass pass(*detection.type);
  PassResult result = PassResult::Done;
  try {
    result = convertAll(console, input, pass, output);
  } catch (const std::bad_alloc&) {
    result = PassResult::ReadFailed;  // a line too long to hold in memory
  }
  if (result == PassResult::ReadFailed) return failWith(console, kFailedToRead, inputFileName);
  input.close();
  if (result == PassResult::WriteFailed || !output.close()) return failWith(console, kFailedToWrite, outputName);
  return kExitStatus;
}

}  // namespace stpconv
