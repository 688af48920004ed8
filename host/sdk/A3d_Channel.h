// The host engine's channel: a node of the channel graph.
#ifndef QAX_HOST_SDK_A3D_CHANNEL_H_
#define QAX_HOST_SDK_A3D_CHANNEL_H_

#include <string>
#include <vector>

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/A3dFileSaver.h"
#include "host/sdk/ChannelType.h"
#include "host/sdk/ChildCreation.h"
#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"

class A3d_ChannelGroup;
class A3d_List;

// A channel holds or computes a value and links typed children. Its declared
// child links and its child slots are one array: SetChildCreateType(record, i)
// declares slot i, and LinkChild(i, child) links a channel there. Children are
// never owned; the host owns every channel.
//
// The virtual operations are listed in the order of the host's interface;
// channel classes of modules override them.
class HIGHPOLY_API A3d_Channel {
 public:
  // The most child links one channel can declare. Declarations beyond it are
  // ignored, so that no file or caller can make a channel grow without bound.
  // The largest class of the real vocabularies the tests load (DBpedia's
  // City) needs 398 links; this leaves ten times that, and keeps what a file
  // can make one channel declare without carrying its links under 2 MB. An
  // enumerator, so that clients of the DLL can take it by reference: a DLL
  // exports no static constant of a class, which is an inline variable.
  enum : int { kMaxChildLinks = 4096 };

  // The tag of the one record that the host channel itself saves: its name.
  static constexpr const char* kNameTag = "CHNAME";

  // An unnamed channel of the zeroed type, with no links and no group.
  A3d_Channel();
  // Copies name, type, group, declared links and linked children (which stay
  // owned by the host).
  A3d_Channel(const A3d_Channel& other);
  A3d_Channel& operator=(const A3d_Channel& other);

  virtual ~A3d_Channel();
  // Evaluates the channel. The host channel does nothing.
  virtual void CallChannel();
  virtual void OneTimeInitialize();
  virtual void DoEvent(int event, void* data);
  // The channel's type, by value.
  virtual ChannelType GetChannelType() const;
  // Writes the host channel's own record (the channel's name). False when the
  // saver refuses the record.
  virtual bool SaveChannel(A3dFileSaver& saver);
  // Reads the record that SaveChannel wrote. False when it is missing; the
  // name is then unchanged. `group` becomes the channel's group when given.
  virtual bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group);
  virtual void SetChannelInterfaceType(int type);
  // The channel that this channel stands for; the host channel answers itself.
  virtual A3d_Channel* GetChannelFromChannel(int kind);
  virtual unsigned long GetTimeStamp() const;
  virtual void SetTimeStamp(unsigned long stamp);
  // Adds what the channel needs to be loaded to `list`. The host channel needs
  // nothing.
  virtual void DoDependencyInit(A3d_List* list);
  virtual bool CheckIndexNrRemoval(int index);
  virtual A3d_Channel* GetInternalChild(int index);
  virtual bool CheckPublicChannelInstanceRemoval(A3d_Channel* channel);
  virtual void AddMetaData(const char* key, const char* value);
  virtual void SetChannelGroup(A3d_ChannelGroup* group);
  virtual void* GetFeedbackClass();
  virtual void SetContextRenderCountName(const char* name);
  virtual const char* GetContextRenderCountName() const;

  // Number of declared child links.
  int GetChildCount() const;
  // The child linked at `index`, or null (nothing linked, or out of range).
  A3d_Channel* GetChild(int index) const;
  // The channel's name, or null when it has none. Valid until the name
  // changes.
  const char* GetChannelName() const;
  // Keeps a copy of `name`; null removes the name.
  void SetChannelName(const char* name);
  // The group the channel belongs to, or null.
  A3d_ChannelGroup* GetChannelGroup() const;

  // Only 0 is meaningful: forgets every declared link and linked child.
  void SetChildCreationCount(int count);
  // Declares link `index`: `index` equal to the count appends, a lower index
  // replaces that declaration (and keeps its linked child). Other indices,
  // and appends beyond kMaxChildLinks, are ignored.
  void SetChildCreateType(ChildCreation record, int index);

  // Add one dependency to `list`; a null list is ignored.
  void AddChannelGuidDepend(_GUID guid, A3d_List* list);
  void AddDLLDepend(const char* dllName, A3d_List* list);

  // Host extras for hosts and tests.
  // The declared record of link `index`, or null when it is not declared.
  const ChildCreation* GetChildCreation(int index) const;
  // Links `child` at a declared slot (null unlinks). False when the slot is
  // not declared. Types are not checked: channels check their children.
  bool LinkChild(int index, A3d_Channel* child);
  // Sets what GetChannelType() answers.
  void SetChannelType(const ChannelType& type);

 private:
  struct Slot {
    ChildCreation record;
    A3d_Channel* child;
  };

  std::string name_;
  bool hasName_;
  ChannelType type_;
  A3d_ChannelGroup* group_;
  std::vector<Slot> slots_;
  unsigned long timeStamp_;
  int interfaceType_;
  std::string contextRenderCountName_;
};

#endif  // QAX_HOST_SDK_A3D_CHANNEL_H_
