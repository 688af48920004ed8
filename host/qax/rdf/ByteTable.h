// A table of bytes for the document scans. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_BYTETABLE_H_
#define QAX_HOST_QAX_RDF_BYTETABLE_H_

namespace qaxoi::rdf {

// The bytes for which a test holds, so that a scan steps over the bytes that
// matter nothing to it with one lookup each.
struct ByteTable {
  bool holds[256];
};

// The table of `test` (a constexpr callable taking a char), built at
// compile time.
template <typename Test>
constexpr ByteTable MakeTable(Test test) {
  ByteTable table{};
  for (int byte = 0; byte < 256; ++byte) table.holds[byte] = test(static_cast<char>(byte));
  return table;
}

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_BYTETABLE_H_
