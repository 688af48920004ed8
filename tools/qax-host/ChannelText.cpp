#include "tools/qax-host/ChannelText.h"

#include <cstdio>
#include <cstring>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/NumberText.h"

namespace qaxoi::qax_host {

namespace {

// The bytes that control a terminal: C0, DEL, and the lead byte of a C1
// control's UTF-8 form (0xC2 0x80 to 0xC2 0x9F).
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

// Whether `c` lays out text that keeps its layout: a line end or a tab.
bool KeptInLayout(char c, Layout layout) {
  return layout == Layout::kKeep && (c == '\n' || c == '\t');
}

// Appends `text` escaped to `out`; with `quote`, quotes and backslashes are
// escaped too.
void AppendEscaped(const std::string& text, Layout layout, bool quote, std::string* out) {
  out->reserve(out->size() + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const unsigned char byte = static_cast<unsigned char>(c);
    char escaped[8];
    if (quote && (c == '"' || c == '\\')) {
      *out += '\\';
      *out += c;
    } else if ((byte < kFirstPrintable && !KeptInLayout(c, layout)) || byte == kDelete) {
      std::snprintf(escaped, sizeof(escaped), "\\x%02X", byte);
      *out += escaped;
    } else if (byte == kC1Lead && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= kC1First &&
               static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
      std::snprintf(escaped, sizeof(escaped), "\\u%04X",
                    static_cast<unsigned>(static_cast<unsigned char>(text[i + 1])));
      *out += escaped;
      ++i;
    } else {
      *out += c;
    }
  }
}

}  // namespace

std::string Escaped(const std::string& text, Layout layout) {
  std::string escaped;
  AppendEscaped(text, layout, false, &escaped);
  return escaped;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  AppendEscaped(text, Layout::kEscape, true, &quoted);
  return quoted + "\"";
}

std::string TypeNameOf(const A3d_Channel& channel) {
  const ChannelType type = channel.GetChannelType();
  return std::string(type.Name, ::strnlen(type.Name, sizeof(type.Name)));
}

std::string QuotedNameOf(const A3d_Channel& channel) {
  const char* name = channel.GetChannelName();
  return name != nullptr ? Quoted(name) : "(no name)";
}

std::string ValueOf(A3d_Channel& channel) {
  if (auto* item = dynamic_cast<Aco_QAXOntologyItem*>(&channel)) {
    return "class <" + Escaped(item->GetClassHandle()) + ">";
  }
  if (auto* number = dynamic_cast<Aco_FloatChannel*>(&channel)) {
    return RealText(number->GetFloat());
  }
  if (auto* text = dynamic_cast<Aco_StringChannel*>(&channel)) {
    const char* value = text->GetString();
    return value != nullptr ? Quoted(value) : "null";
  }
  if (auto* vector = dynamic_cast<Aco_ValueVectorChannel*>(&channel)) {
    const D3DXVECTOR3 v = vector->GetVector();
    return "(" + RealText(v.x) + ", " + RealText(v.y) + ", " + RealText(v.z) + ")";
  }
  if (auto* matrix = dynamic_cast<Aco_MatrixChannel*>(&channel)) {
    const D3DXMATRIX m = matrix->GetMatrix();
    std::string text = "[";
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column) {
        text += RealText(m.m[row][column]);
        text += column < 3 ? " " : (row < 3 ? "; " : "]");
      }
    }
    return text;
  }
  return std::string();
}

}  // namespace qaxoi::qax_host
