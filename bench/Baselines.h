// Straight-line baselines: code written for the benchmarks that does the same
// observable work as the module, through the same host and service calls,
// with nothing to spare. Each names the module operation it stands beside.
#ifndef QAX_BENCH_BASELINES_H_
#define QAX_BENCH_BASELINES_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/rdf/Rdf.h"
#include "host/sdk/HighPoly.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::bench {

using LinkDescriptions = std::vector<std::pair<std::string, std::string>>;

// Beside PrepareLinks: declares on `channel` one link per attribute of
// `metaClass` and its parents, parents first, keeping the records in
// `records` and the (type name, link name) pairs in `descriptions`.
void PrepareLinksBaseline(const QAX::Ontology::MetaClass* metaClass, A3d_Channel& channel,
                          std::vector<ChildCreation>& records, LinkDescriptions& descriptions);

// Beside GetOntologyItem(true): makes the item of `channel`'s class from the
// channel's children into `item`. A nested ontology item child gets the item
// built for it to hold (through SetOntologyItem, the one way to give a
// channel an item), as the module leaves it.
void BuildItemBaseline(const QAX::Ontology::OntologyModel& model, Aco_QAXOntologyItem& channel,
                       std::unique_ptr<QAX::Onto::OntologyItem>& item);

// What an ontology item channel saves beyond the host channel's own record.
struct ItemRecords {
  unsigned int mode = 0xFFFFFFFFu;
  bool autoName = true;
  std::string classHandle;
  LinkDescriptions links;
};

// Beside SaveChannel: the host channel's record (through the host channel's
// SaveChannel), then the ontology item channel's records, written by hand.
bool SaveRecordsBaseline(A3d_Channel& channel, const ItemRecords& records, A3dFileSaver& saver);

// Beside LoadChannel: reads what SaveRecordsBaseline wrote, by hand, into
// `records` and declares the links on `channel` again.
bool LoadRecordsBaseline(A3d_Channel& channel, A3dFileLoader& loader, A3d_ChannelGroup* group,
                         ItemRecords& records);

// A host float channel that saves and loads itself through the two
// baselines above: what a channel group file of ontology item channels costs
// when every record is written and read by hand.
class HandRecordChannel : public Aco_FloatChannel {
 public:
  static const _GUID kTypeGuid;
  static ChannelType Type();

  HandRecordChannel();
  ItemRecords& records() { return records_; }

  bool SaveChannel(A3dFileSaver& saver) override;
  bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

 private:
  ItemRecords records_;
};

// Beside LoadModelFile: serd parsing the file at `path` strictly
// into a statement callback that does nothing. False when it fails.
bool ParseVocabularyBaseline(const std::string& path);

// Beside LoadModelFile of RDF/XML: raptor parsing the file at
// `path`, read whole, into a statement callback that does nothing. False
// when it fails.
bool ParseRdfXmlBaseline(const std::string& path);

// Writes the N-Quads file at `nquadsPath` as RDF/XML (raptor's abbreviated
// form, as ontology editors write it) to `rdfXmlPath`. False when it fails.
bool WriteRdfXml(const std::string& nquadsPath, const std::string& rdfXmlPath);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_BASELINES_H_
