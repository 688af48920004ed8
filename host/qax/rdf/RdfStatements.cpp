#include "host/qax/rdf/RdfStatements.h"

#include <algorithm>
#include <cctype>

namespace qaxoi::rdf {
namespace {

// A subject's objects are checked for repeats pairwise up to this many, and
// by sorting beyond, so that one subject with many objects costs n log n.
constexpr std::size_t kPairwiseRun = 16;

bool IsEnglish(std::string_view language) {
  if (language.size() < 2) return false;
  if (std::tolower(static_cast<unsigned char>(language[0])) != 'e' ||
      std::tolower(static_cast<unsigned char>(language[1])) != 'n') {
    return false;
  }
  return language.size() == 2 || language[2] == '-';
}

// Removes the repeats from objects[begin, end), keeping each object's first
// place, and moves what is left to start at `to` (at most `begin`).
// Answers the end of what was moved.
std::size_t MoveWithoutRepeats(std::vector<TermId>& objects, std::size_t begin, std::size_t end,
                               std::size_t to) {
  const std::size_t count = end - begin;
  if (count <= kPairwiseRun) {
    const std::size_t start = to;
    for (std::size_t at = begin; at < end; ++at) {
      const TermId object = objects[at];
      if (std::find(objects.begin() + static_cast<std::ptrdiff_t>(start),
                    objects.begin() + static_cast<std::ptrdiff_t>(to),
                    object) == objects.begin() + static_cast<std::ptrdiff_t>(to)) {
        objects[to++] = object;
      }
    }
    return to;
  }
  std::vector<std::pair<TermId, std::size_t>> sorted;  // (object, place)
  sorted.reserve(count);
  for (std::size_t at = begin; at < end; ++at) sorted.emplace_back(objects[at], at);
  std::sort(sorted.begin(), sorted.end());
  std::vector<bool> repeat(count, false);
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].first == sorted[i - 1].first) repeat[sorted[i].second - begin] = true;
  }
  for (std::size_t at = begin; at < end; ++at) {
    if (!repeat[at - begin]) objects[to++] = objects[at];
  }
  return to;
}

}  // namespace

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
  commentOf_.push_back(kNoComment);
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

void RdfStatements::NoteComment(TermId subject, std::string_view text, std::string_view language,
                                DocSource source) {
  constexpr uint8_t kLanguageRanks = 3;
  const uint8_t rank = static_cast<uint8_t>(static_cast<uint8_t>(source) * kLanguageRanks +
                                            (IsEnglish(language) ? 0
                                             : language.empty()  ? 1
                                                                 : 2));
  uint32_t& kept = commentOf_[subject];
  if (kept == kNoComment || rank < comments_[kept].rank) {
    budget_.Charge(sizeof(KeptComment) + text.size());
  }
  if (kept == kNoComment) {
    comments_.push_back(KeptComment{texts_.Keep(text), rank});
    kept = static_cast<uint32_t>(comments_.size() - 1);
  } else if (rank < comments_[kept].rank) {
    comments_[kept] = KeptComment{texts_.Keep(text), rank};
  }
}

std::string_view RdfStatements::Comment(TermId id) const {
  if (commentOf_[id] == kNoComment) return std::string_view();
  return comments_[commentOf_[id]].text;
}

void RdfStatements::Relate(Relation relation, TermId subject, TermId object) {
  budget_.Charge(LoadBudget::kPairBytes);
  pairs_[static_cast<int>(relation)].emplace_back(subject, object);
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
  budget_.Release(blankBytes_);
  blankBytes_ = 0;
  for (int relation = 0; relation < kRelations; ++relation) {
    std::vector<std::pair<TermId, TermId>>& pairs = pairs_[relation];
    Grouped& grouped = grouped_[relation];
    if (pairs.empty()) continue;
    // A counting sort by subject, which keeps each subject's order.
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
      to = MoveWithoutRepeats(grouped.objects, begin, end, to);
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
