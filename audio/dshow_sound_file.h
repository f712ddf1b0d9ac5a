// The filter-graph engine: the graph renders the file by itself, or (use-decoder) through the MP3
// decoder filter's output pin; when the decoder filter cannot be made, the file is rendered the
// first way.
#pragma once

#include "audio/sound_file.h"
#include "platform/filter_graph.h"

#include <memory>

namespace zabko {

class TDShowSoundFile : public TAdvancedSoundFile {
 public:
  TDShowSoundFile(QByteArray path, bool deleteAfterUse, bool useDecoder);
  ~TDShowSoundFile() override;

  bool IsPlaying() override;
  void Stop() override;
  // Plays again and again until Stop; the event loop runs meanwhile.
  void PlayLooped() override;

  bool UseDecoder() const { return useDecoder_; }

 protected:
  // Fails with "Failed to create FilterGraph" or the message of the failing build step.
  void Open() override;
  void Close() override;
  void Play() override;

 private:
  void BuildGraph();
  void BuildWithDecoder();

  std::unique_ptr<TFilterGraph> graph_;
  std::unique_ptr<TMp3DecoderFilter> decoder_;
  TPin* outputPin_ = nullptr;
  bool useDecoder_;
  bool looping_ = false;
};

}  // namespace zabko
