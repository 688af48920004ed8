#include "host/qax/rdf/RdfStatements.h"

#include <algorithm>
#include <cctype>

namespace qaxoi::rdf {
namespace {

// Texts' table: its first size, the bits a language's number takes in a
// key, and the multiplicative hash that spreads keys over the slots.
constexpr uint32_t kNoText = UINT32_MAX;
constexpr std::size_t kInitialTextSlots = 16;
constexpr int kLanguageBits = 32;
constexpr uint64_t kKeyMultiplier = 0x9E3779B97F4A7C15ull;
constexpr int kKeyShift = 32;
// A name index's slots per entry (at most half full) and their bytes.
constexpr std::size_t kIndexBytesPerEntry = 4 * sizeof(uint64_t);

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

uint32_t RdfStatements::InternLanguage(std::string_view language) {
  const std::uint32_t hash = QAX::Util::NameIndex::Hash(language);
  const std::size_t found = languagesByName_.Find(
      language, hash, [this](std::size_t position) { return languages_[position]; });
  if (found != QAX::Util::NameIndex::kNone) return static_cast<uint32_t>(found);
  // The tag, its view and its share of the index.
  budget_.Charge(language.size() + sizeof(std::string_view) + kIndexBytesPerEntry);
  const auto id = static_cast<uint32_t>(languages_.size());
  languages_.push_back(texts_.Keep(language));
  languagesByName_.Add(id, hash);
  return id;
}

std::size_t RdfStatements::TextSlot(TermId subject, TextKind kind, uint32_t language) const {
  const std::size_t mask = textSlots_.size() - 1;
  const uint64_t key = (SubjectKind(subject, kind) << kLanguageBits) ^ language;
  std::size_t at = static_cast<std::size_t>((key * kKeyMultiplier) >> kKeyShift) & mask;
  for (;; at = (at + 1) & mask) {
    const uint32_t position = textSlots_[at];
    if (position == kNoText) return at;
    const KeptText& kept = keptTexts_[position];
    if (kept.subject == subject && kept.kind == kind && kept.language == language) return at;
  }
}

void RdfStatements::NoteText(TermId subject, TextKind kind, TextSource source,
                             std::string_view text, std::string_view language) {
  const uint32_t tag = InternLanguage(Lowered(language, lowered_));
  if (2 * (keptTexts_.size() + 1) > textSlots_.size()) {
    // Grown before the search, so that the slot found stays valid; the old
    // and the new table are held at once while it grows.
    const std::size_t size = textSlots_.empty() ? kInitialTextSlots : 2 * textSlots_.size();
    budget_.Charge((size - textSlots_.size()) * sizeof(uint32_t));
    std::vector<uint32_t> grown(size, kNoText);
    grown.swap(textSlots_);
    for (uint32_t position = 0; position < keptTexts_.size(); ++position) {
      const KeptText& kept = keptTexts_[position];
      textSlots_[TextSlot(kept.subject, kept.kind, kept.language)] = position;
    }
  }
  const std::size_t slot = TextSlot(subject, kind, tag);
  if (textSlots_[slot] != kNoText) {
    KeptText& kept = keptTexts_[textSlots_[slot]];
    if (kept.source < source || (kept.source == source && kept.text <= text)) return;
    // The text replaced stays among the copies, charged, until the load
    // ends.
    budget_.Charge(text.size());
    kept.source = source;
    kept.text = textCopies_.Keep(text);
    return;
  }
  budget_.Charge(sizeof(KeptText) + text.size());
  textSlots_[slot] = static_cast<uint32_t>(keptTexts_.size());
  keptTexts_.push_back(KeptText{subject, tag, kind, source, textCopies_.Keep(text)});
}

void RdfStatements::GroupTexts() {
  // By subject and kind, the best source first, then by language: the
  // first of each (subject, kind) has the source that counts. Each
  // (subject, kind, language) is there once.
  std::sort(keptTexts_.begin(), keptTexts_.end(), [this](const KeptText& a, const KeptText& b) {
    const uint64_t x = SubjectKind(a.subject, a.kind);
    const uint64_t y = SubjectKind(b.subject, b.kind);
    if (x != y) return x < y;
    if (a.source != b.source) return a.source < b.source;
    return languages_[a.language] < languages_[b.language];
  });
  std::size_t to = 0;
  for (std::size_t at = 0; at < keptTexts_.size(); ++at) {
    const KeptText& text = keptTexts_[at];
    if (to > 0) {
      const KeptText& last = keptTexts_[to - 1];
      if (last.subject == text.subject && last.kind == text.kind && last.source != text.source) {
        continue;
      }
    }
    keptTexts_[to++] = text;
  }
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
  // The texts are decided: what found them goes first.
  budget_.Release(textSlots_.size() * sizeof(uint32_t));
  std::vector<uint32_t>().swap(textSlots_);
  languagesByName_ = QAX::Util::NameIndex();
  budget_.Release(languages_.size() * kIndexBytesPerEntry);
  keptTexts_.shrink_to_fit();
  languages_.shrink_to_fit();
  // The copies' last block lets go of its unused tail, so that what is
  // held of texts from now on (renumbering included) is about their bytes.
  textCopies_.TrimLast([this](auto fix) {
    for (KeptText& kept : keptTexts_) fix(kept.text);
    for (std::string_view& language : languages_) fix(language);
  });
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
