// What loading one vocabulary may allocate, in proportion to the document's
// size. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_LOADBUDGET_H_
#define QAX_HOST_QAX_RDF_LOADBUDGET_H_

#include <cstddef>
#include <string>

namespace qaxoi::rdf {

// The loader charges what it holds as it goes: the document while it is
// parsed (a file's page, or the whole document when it is held in memory),
// the statements it gathers, then the model it builds, each by the
// estimates below of what the structures take on a 64-bit build (measured,
// growth of their containers included). Loading stops, and the document is
// refused, once the charges pass the allowance: kBytesPerDocumentByte times
// the document's size plus kBaseBytes. So a load needs about 10 times the
// document's size at its peak at most, whatever the document holds, and a
// document that would need more is refused instead (docs/limits.md).
class LoadBudget {
 public:
  static constexpr std::size_t kBytesPerDocumentByte = 10;
  static constexpr std::size_t kBaseBytes = std::size_t{256} << 10;

  // What the gathered statements cost: a distinct IRI or anonymous node, and
  // its text besides; a relation between two IRIs; a prefix declaration
  // (which serd keeps too), and its name and namespace besides, twice.
  static constexpr std::size_t kTermBytes = 64;
  static constexpr std::size_t kBlankBytes = 96;
  static constexpr std::size_t kPairBytes = 12;
  static constexpr std::size_t kPrefixBytes = 160;
  // What the model costs: a class, and its texts besides; an attribute, and
  // its texts besides; a library or a named namespace, and its IRI three
  // times besides; and the mapper's tables, per IRI of the statements.
  static constexpr std::size_t kClassBytes = 304;
  static constexpr std::size_t kAttributeBytes = 320;
  static constexpr std::size_t kLibraryBytes = 512;
  static constexpr std::size_t kMapperBytesPerTerm = 48;
  // An attribute's range record (MetaAttr::GetRange), shared by the
  // attributes of one property, and each term and value it holds, their
  // texts besides.
  static constexpr std::size_t kRangeBytes = 128;
  static constexpr std::size_t kRangeTermBytes = 64;
  // A term named in another's place (OntologyModel::AddSuccessor): its
  // record and its share of the table of terms, both IRIs besides.
  static constexpr std::size_t kSuccessorBytes = 128;
  // A class's or property's record of texts in the model (TermTexts), and
  // each text in it, its text and language besides.
  static constexpr std::size_t kTermTextsBytes = 128;
  static constexpr std::size_t kLangTextBytes = 64;

  explicit LoadBudget(std::size_t documentBytes)
      : documentBytes_(documentBytes),
        allowance_(documentBytes > (kNoLimit - kBaseBytes) / kBytesPerDocumentByte
                       ? kNoLimit
                       : kBytesPerDocumentByte * documentBytes + kBaseBytes) {}

  // Adds `bytes` to what is spent; false once the allowance is passed.
  bool Charge(std::size_t bytes) {
    spent_ = bytes > kNoLimit - spent_ ? kNoLimit : spent_ + bytes;
    return !Exhausted();
  }
  // Takes back `bytes` of what Charge added, for what was let go.
  void Release(std::size_t bytes) { spent_ = bytes > spent_ ? 0 : spent_ - bytes; }

  bool Exhausted() const { return spent_ > allowance_; }

  // The message that refuses a document named `sourceName` for this budget.
  std::string Refusal(const std::string& sourceName) const {
    return sourceName + ": loading it needs more memory than " +
           std::to_string(kBytesPerDocumentByte) + " times the document's " +
           std::to_string(documentBytes_) +
           " bytes; it declares too many IRIs, classes or attributes for its size";
  }

 private:
  static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

  std::size_t documentBytes_;
  std::size_t allowance_;
  std::size_t spent_ = 0;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_LOADBUDGET_H_
