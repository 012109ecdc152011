#include "update/SRecordMerge.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "update/SRecord.h"
#include "update/StreamFiles.h"
#include "update/UpdateTexts.h"

namespace quastor {
namespace {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr std::uint64_t kProgressStep = 1 << 16;

// The line without its CR and trailing blanks.
std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

Failure FileFailure(const char* pattern, const std::filesystem::path& file, int error) {
  return Failure{FormatText(pattern, {Utf8FromPath(file), SystemReason(error != 0 ? error : EIO)})};
}

// One merge: the open files and what has been written so far.
class BankMerger {
 public:
  BankMerger(const MergeRequest& request, std::FILE* input, std::FILE* image, std::FILE* output)
      : request_(request),
        image_(image),
        reader_(input),
        writer_(output),
        bankEnd_(static_cast<std::uint64_t>(request.firstAddress) + kBankBytes) {}

  Result<BankMerge> Run(std::uint64_t input_bytes) {
    const std::uint64_t total = input_bytes + kBankBytes;
    std::uint64_t next_report = 0;
    std::uint64_t line_number = 0;
    std::string_view line;
    for (;;) {
      const LineReader::Status status = reader_.Next(&line);
      if (status == LineReader::Status::kEnd)
        break;
      ++line_number;
      if (status == LineReader::Status::kError) {
        return FileFailure(update_texts::kCannotRead, request_.input, reader_.error());
      }
      if (status == LineReader::Status::kTooLong) {
        return Damaged(line_number, update_texts::kReasonTooLong);
      }
      line = WithoutLineEnd(line);
      srec::Record record;
      const srec::Problem problem = srec::ParseRecord(line, &record);
      if (problem != srec::Problem::kNone) {
        return Damaged(line_number, srec::ProblemText(problem));
      }
      if (Status handled = Handle(line, record, line_number); !handled)
        return handled.failure();
      if (request_.progress && reader_.consumed() >= next_report) {
        request_.progress(reader_.consumed() + (inserted_ ? kBankBytes : 0), total);
        next_report = reader_.consumed() + kProgressStep;
      }
    }
    if (!endSeen_) {
      return Failure{FormatText(update_texts::kNoEndRecord, {Utf8FromPath(request_.input)})};
    }
    if (!writer_.Flush()) {
      return FileFailure(update_texts::kCannotWrite, request_.output, writer_.error());
    }
    if (request_.progress)
      request_.progress(total, total);
    return inserted_ ? BankMerge::kInserted : BankMerge::kRangeAbsent;
  }

 private:
  Failure Damaged(std::uint64_t line_number, const char* reason) const {
    return Failure{FormatText(update_texts::kDamagedRecord,
                              {Utf8FromPath(request_.input), std::to_string(line_number), reason})};
  }

  Status Handle(std::string_view line, const srec::Record& record, std::uint64_t line_number) {
    if (record.isData()) {
      ++inputDataRecords_;
      return HandleData(line, record);
    }
    if (record.type == '5' || record.type == '6') {
      // A count that does not match tells of lost lines: the file must not be flashed.
      if (record.address != inputDataRecords_)
        return Damaged(line_number, update_texts::kReasonRecordCount);
      WriteCount(line);
    } else {
      if (record.type == '9')
        endSeen_ = true;
      writer_.WriteLine(line);
    }
    return Status::Ok();
  }

  Status HandleData(std::string_view line, const srec::Record& record) {
    const std::uint64_t start = record.address;
    const std::uint64_t end = start + record.dataBytes();
    const bool outside = end <= request_.firstAddress || start >= bankEnd_;
    // A record without data counts as in the bank when its address lies there.
    const bool empty_inside = start == end && start >= request_.firstAddress && start < bankEnd_;
    if (outside && !empty_inside) {
      writer_.WriteLine(line);
      ++dataRecords_;
      return Status::Ok();
    }
    std::uint8_t bytes[256];
    srec::DecodeHex(record.dataHex, bytes);
    if (start < request_.firstAddress) {
      WritePiece(record.type, start, bytes, request_.firstAddress - start);
    }
    if (!inserted_) {
      if (Status written = WriteBank(); !written)
        return written;
      inserted_ = true;
    }
    if (end > bankEnd_) {
      WritePiece(record.type, bankEnd_, bytes + (bankEnd_ - start), end - bankEnd_);
    }
    return Status::Ok();
  }

  void WritePiece(char type, std::uint64_t address, const std::uint8_t* bytes, std::uint64_t size) {
    piece_.clear();
    srec::AppendRecord(piece_, type, static_cast<std::uint32_t>(address), bytes,
                       static_cast<std::size_t>(size));
    writer_.WriteLine(piece_);
    ++dataRecords_;
  }

  // The bank's 512 records, read from the image 32 bytes at a time; past the image's end the
  // bank is erased flash (0xFF).
  Status WriteBank() {
    std::uint8_t block[kBankBlockBytes];
    bool image_ended = false;
    std::uint32_t address = request_.firstAddress;
    for (int i = 0; i < kBankRecordCount; ++i) {
      std::size_t got = 0;
      if (!image_ended) {
        errno = 0;
        got = std::fread(block, 1, sizeof block, image_);
        if (got < sizeof block) {
          if (std::ferror(image_))
            return FileFailure(update_texts::kCannotRead, request_.image, errno);
          image_ended = true;
        }
      }
      for (std::size_t j = got; j < sizeof block; ++j)
        block[j] = 0xFF;
      piece_.clear();
      srec::AppendRecord(piece_, '2', address, block, sizeof block);
      writer_.WriteLine(piece_);
      address += kBankBlockBytes;
    }
    dataRecords_ += kBankRecordCount;
    if (!image_ended && std::fgetc(image_) != EOF) {
      return Failure{FormatText(update_texts::kBankImageTooLong, {std::to_string(request_.bank)})};
    }
    return Status::Ok();
  }

  // The record count tells how many data records precede it, so it follows the output.
  void WriteCount(std::string_view line) {
    if (dataRecords_ > 0xFFFFFF) {
      writer_.WriteLine(line);
      return;
    }
    const char type = dataRecords_ > 0xFFFF ? '6' : '5';
    piece_.clear();
    srec::AppendRecord(piece_, type, static_cast<std::uint32_t>(dataRecords_), nullptr, 0);
    writer_.WriteLine(piece_);
  }

  const MergeRequest& request_;
  std::FILE* image_;
  LineReader reader_;
  BlockWriter writer_;
  const std::uint64_t bankEnd_;
  bool inserted_ = false;
  bool endSeen_ = false;
  std::uint64_t dataRecords_ = 0;       // written to the output
  std::uint64_t inputDataRecords_ = 0;  // read from the input
  std::string piece_;
};

Result<BankMerge> MergeFiles(const MergeRequest& request) {
  // Regular files only, opened without waiting: a FIFO in place of either does not hang the
  // run, and a device such as /dev/zero is not read for ever.
  const Result<ReadableFile> input = OpenForReading(request.input, update_texts::kCannotRead);
  if (!input)
    return input.failure();
  const Result<ReadableFile> image = OpenForReading(request.image, update_texts::kCannotRead);
  if (!image)
    return image.failure();
  if (image->size() > kBankBytes) {
    return Failure{FormatText(update_texts::kBankImageTooLong, {std::to_string(request.bank)})};
  }
  FileHandle output(OpenFile(request.output, "wb"), &std::fclose);
  if (!output)
    return FileFailure(update_texts::kCannotWrite, request.output, errno);

  Result<BankMerge> merged =
      BankMerger(request, input->get(), image->get(), output.get()).Run(input->size());
  errno = 0;
  const int closed = std::fclose(output.release());
  if (merged.ok() && closed != 0) {
    return FileFailure(update_texts::kCannotWrite, request.output, errno);
  }
  return merged;
}

}  // namespace

Result<BankMerge> MergeBank(const MergeRequest& request) {
  Result<BankMerge> merged = MergeFiles(request);
  // The half-written output goes; anything that is not a plain file of its own (a device, a
  // link) stays where it is.
  std::error_code ec;
  if (!merged.ok() &&
      std::filesystem::is_regular_file(std::filesystem::symlink_status(request.output, ec))) {
    std::filesystem::remove(request.output, ec);
  }
  return merged;
}

}  // namespace quastor
