// A growable list of 32-bit integers kept in the Integers of an owned packet, so that a list can
// be filled straight from a packet that the server or a data file delivered.
#pragma once

#include "core/data_packet.h"

#include <memory>

namespace zabko {

class TIntegerList {
 public:
  TIntegerList() : packet_(std::make_unique<TDataPacket>()) {}
  TIntegerList(const TIntegerList&) = delete;
  TIntegerList& operator=(const TIntegerList&) = delete;

  // Appends Value and returns its index.
  int Add(qint32 value) { return packet_->AddInteger(value); }
  // Empties the owned packet, all its lists.
  void Clear() { packet_->Clear(); }
  int Count() const { return packet_->IntegerCount(); }
  // Indexes run from 0 to Count - 1; others fail as the packet's accessors do.
  qint32 Get(int index) const { return packet_->GetInteger(index); }
  void Put(int index, qint32 value) { packet_->SetInteger(index, value); }
  // The index of the first entry equal to Value, -1 when there is none.
  int IndexOf(qint32 value) const { return packet_->IndexOfInteger(value); }
  bool Contains(qint32 value) const { return IndexOf(value) >= 0; }
  // None: Clear. Otherwise the owned packet becomes a deep copy of the whole source packet.
  void Assign(const TAbstractDataPacket* source);
  void Assign(const TIntegerList& source) { Assign(source.packet_.get()); }

  // The owned packet, for callers that pass the list on as a packet.
  const TDataPacket& Packet() const { return *packet_; }

 private:
  std::unique_ptr<TDataPacket> packet_;
};

}  // namespace zabko
