#include "host/qax/shacl/ReportOutput.h"

namespace qaxoi::shacl {

namespace {

constexpr const char* kLowerHexDigits = "0123456789abcdef";
constexpr unsigned char kFirstPrintable = 0x20;

}  // namespace

void ReportOutput::Put(std::string_view bytes) {
  if (json_) {
    for (const char byte : bytes) {
      PutEscaped(byte);
      if (block_.size() >= kBlockBytes) Flush();
    }
    return;
  }
  if (bytes.size() >= kBlockBytes) {
    // A long text goes to the stream as it is, not through the block.
    if (Flush()) out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return;
  }
  block_.append(bytes);
  if (block_.size() >= kBlockBytes) Flush();
}

void ReportOutput::Put(char byte) {
  if (json_) {
    PutEscaped(byte);
  } else {
    block_ += byte;
  }
  if (block_.size() >= kBlockBytes) Flush();
}

void ReportOutput::OpenJsonString() {
  block_ += '"';
  json_ = true;
}

void ReportOutput::CloseJsonString() {
  json_ = false;
  block_ += '"';
}

void ReportOutput::PutEscaped(char byte) {
  switch (byte) {
    case '"':
      block_ += "\\\"";
      return;
    case '\\':
      block_ += "\\\\";
      return;
    case '\b':
      block_ += "\\b";
      return;
    case '\f':
      block_ += "\\f";
      return;
    case '\n':
      block_ += "\\n";
      return;
    case '\r':
      block_ += "\\r";
      return;
    case '\t':
      block_ += "\\t";
      return;
    default:
      break;
  }
  const auto code = static_cast<unsigned char>(byte);
  if (code >= kFirstPrintable) {
    block_ += byte;
    return;
  }
  block_ += "\\u00";
  block_ += kLowerHexDigits[code >> 4U];
  block_ += kLowerHexDigits[code & 0xFU];
}

bool ReportOutput::Flush() {
  if (!block_.empty() && out_.good()) {
    out_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
  }
  block_.clear();
  return out_.good();
}

}  // namespace qaxoi::shacl
