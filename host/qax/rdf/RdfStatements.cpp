#include "host/qax/rdf/RdfStatements.h"

#include <algorithm>
#include <cctype>

namespace qaxoi::rdf {
namespace {

constexpr std::string_view kXsdStringIri = "http://www.w3.org/2001/XMLSchema#string";

// `text` in ASCII lower case, into `out` (reused, so as not to allocate per
// statement).
std::string_view Lowered(std::string_view text, std::string& out) {
  out.assign(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Sorts objects[begin, end) and drops the repeats, moving what is left to
// start at `to` (at most `begin`). Answers the end of what was moved.
std::size_t MoveSortedWithoutRepeats(std::vector<TermId>& objects, std::size_t begin,
                                     std::size_t end, std::size_t to) {
  const auto first = objects.begin() + static_cast<std::ptrdiff_t>(begin);
  const auto last = objects.begin() + static_cast<std::ptrdiff_t>(end);
  std::sort(first, last);
  const auto unique = std::unique(first, last);
  for (auto at = first; at != unique; ++at) objects[to++] = *at;
  return to;
}

}  // namespace

uint64_t RdfStatements::SubjectKind(TermId subject, TextKind kind) {
  constexpr int kKindBits = 1;
  return (uint64_t{subject} << kKindBits) | static_cast<uint64_t>(kind);
}

bool RdfStatements::TextOrder::operator()(const KeptText& a, uint64_t key) const {
  return SubjectKind(a.subject, a.kind) < key;
}
bool RdfStatements::TextOrder::operator()(uint64_t key, const KeptText& b) const {
  return key < SubjectKind(b.subject, b.kind);
}

TermId RdfStatements::Intern(std::string_view iri) {
  // Documents give a subject's statements together, so the subject comes
  // again most often, after an object or none: the two IRIs interned last
  // are found without hashing.
  if (!iris_.empty()) {
    if (iri == recentIris_[0]) return recentIds_[0];
    if (iri == recentIris_[1]) {
      std::swap(recentIris_[0], recentIris_[1]);
      std::swap(recentIds_[0], recentIds_[1]);
      return recentIds_[0];
    }
  }
  const TermId id = InternAnew(iri);
  recentIris_[1] = recentIris_[0];
  recentIds_[1] = recentIds_[0];
  recentIris_[0] = iris_[id];
  recentIds_[0] = id;
  return id;
}

TermId RdfStatements::InternAnew(std::string_view iri) {
  const std::uint32_t hash = QAX::Util::NameIndex::Hash(iri);
  const std::size_t found =
      irisByName_.Find(iri, hash, [this](std::size_t position) { return iris_[position]; });
  if (found != QAX::Util::NameIndex::kNone) return static_cast<TermId>(found);
  const auto id = static_cast<TermId>(iris_.size());
  budget_.Charge(LoadBudget::kTermBytes + iri.size());
  iris_.push_back(texts_.Keep(iri));
  flags_.push_back(0);
  irisByName_.Add(id, hash);
  return id;
}

BlankId RdfStatements::InternBlank(std::string_view label) {
  const std::uint32_t hash = QAX::Util::NameIndex::Hash(label);
  const std::size_t found = blanksByLabel_.Find(
      label, hash, [this](std::size_t position) { return blankLabels_[position]; });
  if (found != QAX::Util::NameIndex::kNone) return static_cast<BlankId>(found);
  const auto id = static_cast<BlankId>(blankLabels_.size());
  blankBytes_ += LoadBudget::kBlankBytes + label.size();
  budget_.Charge(LoadBudget::kBlankBytes + label.size());
  blankLabels_.push_back(texts_.Keep(label));
  blanks_.emplace_back();
  blanksByLabel_.Add(id, hash);
  return id;
}

ExpressionFacts& RdfStatements::Expression(BlankId id) {
  uint32_t& at = blanks_[id].expression;
  if (at == BlankFacts::kNoExpression) {
    blankBytes_ += 2 * sizeof(ExpressionFacts);
    budget_.Charge(2 * sizeof(ExpressionFacts));
    expressions_.emplace_back();
    at = static_cast<uint32_t>(expressions_.size() - 1);
  }
  return expressions_[at];
}

uint32_t RdfStatements::KeepLiteral(std::string_view text, std::string_view datatype,
                                    std::string_view language) {
  if (datatype == kXsdStringIri) datatype = std::string_view();
  language = Lowered(language, lowered_);
  const std::size_t bytes = sizeof(KeptLiteral) + text.size() + datatype.size() + language.size();
  blankBytes_ += bytes;
  budget_.Charge(bytes);
  literals_.push_back(KeptLiteral{texts_.Keep(text), texts_.Keep(datatype), texts_.Keep(language)});
  return static_cast<uint32_t>(literals_.size() - 1);
}

void RdfStatements::MarkClass(TermId id) {
  if (IsClass(id)) return;
  flags_[id] |= kClass;
  classes_.push_back(id);
}

void RdfStatements::MarkProperty(TermId id) {
  if (IsProperty(id)) return;
  flags_[id] |= kProperty;
  properties_.push_back(id);
}

void RdfStatements::NoteText(TermId subject, TextKind kind, TextSource source,
                             std::string_view text, std::string_view language) {
  language = Lowered(language, lowered_);
  // Every text is kept until Group() chooses: no table is needed to find
  // the one it competes with, which would cost more than the text.
  budget_.Charge(sizeof(KeptText) + text.size() + language.size());
  keptTexts_.push_back(KeptText{subject, kind, source, texts_.Keep(language), texts_.Keep(text)});
}

void RdfStatements::GroupTexts() {
  // By subject and kind, the best source first, then by language and text:
  // the first of each (subject, kind) has the source that counts, and the
  // first of each language the least text.
  std::sort(keptTexts_.begin(), keptTexts_.end(), [](const KeptText& a, const KeptText& b) {
    const uint64_t x = SubjectKind(a.subject, a.kind);
    const uint64_t y = SubjectKind(b.subject, b.kind);
    if (x != y) return x < y;
    if (a.source != b.source) return a.source < b.source;
    if (a.language != b.language) return a.language < b.language;
    return a.text < b.text;
  });
  std::size_t to = 0;
  for (std::size_t at = 0; at < keptTexts_.size(); ++at) {
    const KeptText& text = keptTexts_[at];
    if (to > 0) {
      const KeptText& last = keptTexts_[to - 1];
      const bool sameTerm = last.subject == text.subject && last.kind == text.kind;
      if (sameTerm && (last.source != text.source || last.language == text.language)) continue;
    }
    keptTexts_[to++] = text;
  }
  // The texts dropped stay in the arena; their records go.
  budget_.Release(sizeof(KeptText) * (keptTexts_.size() - to));
  keptTexts_.resize(to);
  keptTexts_.shrink_to_fit();
}

std::pair<const RdfStatements::KeptText*, const RdfStatements::KeptText*> RdfStatements::Texts(
    TermId id, TextKind kind) const {
  const uint64_t key = SubjectKind(id, kind);
  const auto range = std::equal_range(keptTexts_.begin(), keptTexts_.end(), key, TextOrder());
  return {keptTexts_.data() + (range.first - keptTexts_.begin()),
          keptTexts_.data() + (range.second - keptTexts_.begin())};
}

void RdfStatements::Relate(Relation relation, TermId subject, TermId object) {
  budget_.Charge(LoadBudget::kPairBytes);
  pairs_[static_cast<int>(relation)].emplace_back(subject, object);
}

void RdfStatements::NoteSuccessor(TermId from, TermId to, uint8_t how) {
  if (from == to) return;
  budget_.Charge(sizeof(Succession));
  successions.push_back(Succession{from, to, how});
}

void RdfStatements::NotePrefix(std::string_view name, std::string_view iri) {
  if (!name.empty() || severalEmptyPrefixes_) return;
  if (emptyPrefix_.empty()) {
    budget_.Charge(iri.size());
    emptyPrefix_.assign(iri);
  } else if (emptyPrefix_ != iri) {
    severalEmptyPrefixes_ = true;
  }
}

void RdfStatements::RenumberByIri() {
  const std::size_t count = TermCount();
  // Held while renumbering: the order and its inverse, and a second copy
  // of the tables by term.
  const std::size_t held =
      (2 * sizeof(TermId) + sizeof(std::string_view) + sizeof(uint8_t)) * count;
  budget_.Charge(held);
  std::vector<TermId> byIri(count);
  for (TermId id = 0; id < count; ++id) byIri[id] = id;
  std::sort(byIri.begin(), byIri.end(), [this](TermId a, TermId b) { return iris_[a] < iris_[b]; });
  std::vector<TermId> renamed(count);
  for (TermId at = 0; at < count; ++at) renamed[byIri[at]] = at;
  {
    std::deque<std::string_view> iris;
    std::vector<uint8_t> flags(count);
    for (TermId at = 0; at < count; ++at) {
      iris.push_back(iris_[byIri[at]]);
      flags[at] = flags_[byIri[at]];
    }
    iris_.swap(iris);
    flags_.swap(flags);
  }
  const auto rename = [&renamed](TermId& id) {
    if (id != kNoTerm) id = renamed[id];
  };
  for (std::vector<TermId>* list : {&classes_, &properties_, &ontologies}) {
    for (TermId& id : *list) rename(id);
    std::sort(list->begin(), list->end());
  }
  for (auto& pairs : pairs_) {
    for (auto& [subject, object] : pairs) {
      rename(subject);
      rename(object);
    }
  }
  for (Restriction& r : restrictions) {
    rename(r.cls);
    rename(r.property);
    rename(r.filler);
  }
  for (Enumeration& e : enumerations) {
    rename(e.property);
    rename(e.cls);
  }
  for (ShapeCount& count : shapeCounts) {
    rename(count.cls);
    rename(count.property);
  }
  for (KeptText& kept : keptTexts_) rename(kept.subject);
  for (std::vector<NamespaceNote>* notes : {&preferredPrefixes, &preferredNamespaces}) {
    for (NamespaceNote& note : *notes) rename(note.subject);
  }
  for (Succession& succession : successions) {
    rename(succession.from);
    rename(succession.to);
  }
  std::sort(successions.begin(), successions.end(), [](const Succession& a, const Succession& b) {
    if (a.from != b.from) return a.from < b.from;
    if (a.how != b.how) return a.how < b.how;
    return a.to < b.to;
  });
  successions.erase(std::unique(successions.begin(), successions.end(),
                                [](const Succession& a, const Succession& b) {
                                  return a.from == b.from && a.how == b.how && a.to == b.to;
                                }),
                    successions.end());
  recentIris_[0] = recentIris_[1] = std::string_view();
  budget_.Release(held);
}

void RdfStatements::Group() {
  irisByName_ = QAX::Util::NameIndex();
  blanksByLabel_ = QAX::Util::NameIndex();
  std::deque<std::string_view>().swap(blankLabels_);
  std::deque<BlankFacts>().swap(blanks_);
  std::vector<ExpressionFacts>().swap(expressions_);
  std::vector<KeptLiteral>().swap(literals_);
  std::vector<AnonymousUse>().swap(anonymousUses);
  std::vector<ClassUse>().swap(classUses);
  std::vector<ShapeUse>().swap(shapeUses);
  std::vector<std::pair<TermId, TermId>>().swap(shapeTargets);
  std::vector<ClassOneOf>().swap(classOneOfs);
  budget_.Release(blankBytes_);
  blankBytes_ = 0;
  RenumberByIri();
  GroupTexts();
  for (int relation = 0; relation < kRelations; ++relation) {
    std::vector<std::pair<TermId, TermId>>& pairs = pairs_[relation];
    Grouped& grouped = grouped_[relation];
    if (pairs.empty()) continue;
    // A counting sort by subject, then each subject's objects sorted.
    grouped.offsets.assign(TermCount() + 1, 0);
    for (const auto& pair : pairs) ++grouped.offsets[pair.first + 1];
    for (std::size_t s = 1; s < grouped.offsets.size(); ++s) {
      grouped.offsets[s] += grouped.offsets[s - 1];
    }
    grouped.objects.resize(pairs.size());
    {
      std::vector<uint32_t> next(grouped.offsets.begin(), grouped.offsets.end() - 1);
      for (const auto& [subject, object] : pairs) grouped.objects[next[subject]++] = object;
    }
    std::vector<std::pair<TermId, TermId>>().swap(pairs);
    std::size_t to = 0;
    std::size_t begin = 0;
    for (std::size_t s = 0; s + 1 < grouped.offsets.size(); ++s) {
      const std::size_t end = grouped.offsets[s + 1];
      grouped.offsets[s] = static_cast<uint32_t>(to);
      to = MoveSortedWithoutRepeats(grouped.objects, begin, end, to);
      begin = end;
    }
    grouped.offsets.back() = static_cast<uint32_t>(to);
    grouped.objects.resize(to);
    grouped.objects.shrink_to_fit();
  }
}

TermList RdfStatements::Related(Relation relation, TermId subject) const {
  const Grouped& grouped = grouped_[static_cast<int>(relation)];
  if (subject + std::size_t{1} >= grouped.offsets.size()) return TermList(nullptr, nullptr);
  const TermId* const objects = grouped.objects.data();
  return TermList(objects + grouped.offsets[subject], objects + grouped.offsets[subject + 1]);
}

}  // namespace qaxoi::rdf
