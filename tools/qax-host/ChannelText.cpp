#include "tools/qax-host/ChannelText.h"

#include <cstdio>
#include <cstring>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/NumberText.h"

namespace qax_host {

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
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
    return "class <" + item->GetClassHandle() + ">";
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

}  // namespace qax_host
