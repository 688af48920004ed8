#include "tools/qax-host/Rebinding.h"

#include <algorithm>
#include <cstdio>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tools/qax-host/ChannelText.h"

namespace qaxoi::qax_host {

namespace {

const char* OutcomeName(LinkBindingOutcome outcome) {
  switch (outcome) {
    case LinkBindingOutcome::kUnchanged:
      return "unchanged";
    case LinkBindingOutcome::kMoved:
      return "moved";
    case LinkBindingOutcome::kMigrated:
      return "migrated";
    case LinkBindingOutcome::kValue:
      return "value";
    case LinkBindingOutcome::kUnbound:
      break;
  }
  return "unbound";
}

const char* ClassOutcomeName(ClassBindingOutcome outcome) {
  switch (outcome) {
    case ClassBindingOutcome::kSame:
      return "same";
    case ClassBindingOutcome::kMigrated:
      return "migrated";
    case ClassBindingOutcome::kGone:
      return "gone";
    case ClassBindingOutcome::kNotChecked:
      break;
  }
  return "not checked";
}

// Calls `visit(channel, index, binding)` for each item channel of `channels`.
template <class Visit>
void ForEachItemChannel(const std::vector<A3d_Channel*>& channels, Visit&& visit) {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const auto* channel = dynamic_cast<const Aco_QAXOntologyItem*>(channels[i]);
    if (channel != nullptr) visit(*channel, i, channel->GetLoadBinding());
  }
}

// What a saved link was saved as, and what it is bound to now.
struct LinkTexts {
  std::string savedName;
  std::string savedIri;
  std::string linkName;      // empty when unbound
  std::string attributeIri;  // empty when unbound
};
LinkTexts TextsOf(const Aco_QAXOntologyItem& channel, const SavedLinkBinding& link) {
  LinkTexts texts;
  const auto now = static_cast<std::size_t>(link.slot);
  const std::string nowName =
      now < channel.GetLinkDescriptions().size() ? channel.GetLinkDescriptions()[now].second : "";
  const std::string nowIri =
      now < channel.GetLinkAttributeIris().size() ? channel.GetLinkAttributeIris()[now] : "";
  texts.savedName = link.savedName.empty() ? nowName : link.savedName;
  texts.savedIri = link.savedIri.empty() ? nowIri : link.savedIri;
  if (link.walkPosition >= 0) {
    texts.linkName = nowName;
    texts.attributeIri = nowIri;
  }
  return texts;
}

}  // namespace

BindingCounts CountBindings(const std::vector<A3d_Channel*>& channels) {
  BindingCounts counts;
  ForEachItemChannel(
      channels, [&](const Aco_QAXOntologyItem& channel, std::size_t, const LoadBinding& binding) {
        if (binding.rebound) ++counts.channelsRebound;
        if (binding.classOutcome == ClassBindingOutcome::kMigrated) ++counts.classesMigrated;
        if (binding.classOutcome == ClassBindingOutcome::kGone) {
          ++counts.classesGone;
          for (int link = 0; link < channel.GetChildCount(); ++link)
            counts.withoutAttribute += channel.GetChild(link) != nullptr ? 1 : 0;
          return;
        }
        if (!binding.rebound) {
          if (binding.classOutcome == ClassBindingOutcome::kNotChecked) return;
          for (int link = 0; link < channel.GetChildCount(); ++link)
            counts.unchanged += channel.GetChild(link) != nullptr ? 1 : 0;
          return;
        }
        for (const SavedLinkBinding& link : binding.links) {
          if (channel.GetChild(link.slot) == nullptr) continue;
          switch (link.outcome) {
            case LinkBindingOutcome::kUnchanged:
            case LinkBindingOutcome::kValue:  // one more value of its attribute, wherever it is
              ++counts.unchanged;
              break;
            case LinkBindingOutcome::kMoved:
              ++counts.moved;
              break;
            case LinkBindingOutcome::kMigrated:
              ++counts.migrated;
              break;
            case LinkBindingOutcome::kUnbound:
              ++counts.withoutAttribute;
              break;
          }
        }
      });
  return counts;
}

std::string BindingSummary(const std::string& fileName, const BindingCounts& counts) {
  if (!counts.Changed()) return std::string();
  const std::size_t values =
      counts.unchanged + counts.moved + counts.migrated + counts.withoutAttribute;
  std::string line =
      fileName + " was saved against another vocabulary: of " + Counted(values, "value", "values") +
      ", " +
      Counted(counts.unchanged + counts.moved, "stays on its attribute", "stay on their attribute");
  if (counts.moved > 0) line += " (" + Counted(counts.moved, "moved", "moved") + ")";
  if (counts.migrated > 0)
    line +=
        ", " + Counted(counts.migrated, "migrated to a replacement", "migrated to replacements");
  if (counts.withoutAttribute > 0) {
    line +=
        ", " + Counted(counts.withoutAttribute, "is left without an attribute (kept in the group)",
                       "are left without an attribute (kept in the group)");
  }
  if (counts.classesMigrated > 0)
    line += "; " + Counted(counts.classesMigrated, "class migrated", "classes migrated");
  if (counts.classesGone > 0)
    line += "; " + Counted(counts.classesGone, "class is gone", "classes are gone");
  return line + " (see: qax-host migrate)";
}

void PrintMigrationText(const std::vector<A3d_Channel*>& channels) {
  ForEachItemChannel(channels, [](const Aco_QAXOntologyItem& channel, std::size_t index,
                                  const LoadBinding& binding) {
    std::string head = "#" + std::to_string(index) + " " + QuotedNameOf(channel) + " class <" +
                       Escaped(channel.GetClassHandle()) + ">";
    if (binding.classOutcome == ClassBindingOutcome::kMigrated) {
      head += ": migrated from <" + Escaped(binding.savedClass) + "> (" +
              Escaped(binding.classNote) + ")";
    } else if (binding.classOutcome == ClassBindingOutcome::kGone) {
      head += ": " + Escaped(binding.classNote) + "; its links are kept as saved";
    } else if (!binding.rebound) {
      head += binding.classOutcome == ClassBindingOutcome::kSame
                  ? ": every link binds its attribute unchanged"
                  : ": not checked (no ontology or no class)";
    }
    PrintLine(head);
    if (!binding.rebound) return;
    for (const SavedLinkBinding& link : binding.links) {
      A3d_Channel* child = channel.GetChild(link.slot);
      const LinkTexts texts = TextsOf(channel, link);
      std::string line = "    link " + std::to_string(link.slot) + " " + Escaped(texts.savedName) +
                         ": " + OutcomeName(link.outcome);
      if (link.outcome == LinkBindingOutcome::kMoved ||
          link.outcome == LinkBindingOutcome::kMigrated) {
        line += " to " + Escaped(texts.linkName) + " (attribute " +
                std::to_string(link.walkPosition) + " of the class)";
      }
      if (link.outcome == LinkBindingOutcome::kValue) {
        // Its number among the attribute's values, the attribute's own link first.
        const std::vector<int> values = channel.GetValueLinks(link.slot);
        const auto at = std::find(values.begin(), values.end(), link.slot);
        if (at != values.end()) line += " " + std::to_string(at - values.begin() + 1);
        line += " of " + Escaped(texts.linkName) + " (link " + std::to_string(link.valueOf) + ")";
      }
      if (!link.note.empty()) line += " (" + Escaped(link.note) + ")";
      line += child != nullptr ? ", value " + ValueOf(*child) : ", nothing linked";
      PrintLine(line);
    }
    if (binding.addedLinks > 0) {
      PrintLine("    " + Counted(static_cast<std::size_t>(binding.addedLinks), "link", "links") +
                " added behind them for attributes that none was saved for");
    }
  });
}

Json MigrationJson(const std::vector<A3d_Channel*>& channels) {
  Json list = Json::array();
  ForEachItemChannel(channels, [&list](const Aco_QAXOntologyItem& channel, std::size_t index,
                                       const LoadBinding& binding) {
    Json entry;
    entry["index"] = index;
    entry["name"] = channel.GetChannelName() != nullptr ? Json(channel.GetChannelName()) : Json();
    entry["class"] = channel.GetClassHandle();
    entry["savedClass"] = binding.savedClass;
    entry["classOutcome"] = ClassOutcomeName(binding.classOutcome);
    entry["classNote"] = binding.classNote.empty() ? Json() : Json(binding.classNote);
    entry["rebound"] = binding.rebound;
    Json links = Json::array();
    for (const SavedLinkBinding& link : binding.links) {
      A3d_Channel* child = channel.GetChild(link.slot);
      const LinkTexts texts = TextsOf(channel, link);
      Json item;
      item["link"] = link.slot;
      item["savedName"] = texts.savedName;
      item["savedIri"] = texts.savedIri.empty() ? Json() : Json(texts.savedIri);
      item["outcome"] = OutcomeName(link.outcome);
      item["attribute"] = texts.attributeIri.empty() ? Json() : Json(texts.attributeIri);
      item["linkName"] = texts.linkName.empty() ? Json() : Json(texts.linkName);
      item["position"] = link.walkPosition >= 0 ? Json(link.walkPosition) : Json();
      item["note"] = link.note.empty() ? Json() : Json(link.note);
      if (link.outcome == LinkBindingOutcome::kValue) item["valueOf"] = link.valueOf;
      item["linked"] = child != nullptr;
      item["value"] = child != nullptr ? ValueJson(*child) : Json();
      links.push_back(std::move(item));
    }
    entry["links"] = std::move(links);
    entry["addedLinks"] = binding.addedLinks;
    list.push_back(std::move(entry));
  });
  return list;
}

}  // namespace qaxoi::qax_host
