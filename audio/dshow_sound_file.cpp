#include "audio/dshow_sound_file.h"

#include "audio/mpg123_sound_file.h"
#include "platform/exception.h"

#include <QFile>

#include <utility>

namespace zabko {

namespace {
bool Failed(HResult result) { return result < 0; }
}  // namespace

TDShowSoundFile::TDShowSoundFile(QByteArray path, bool deleteAfterUse, bool useDecoder)
    : TAdvancedSoundFile(std::move(path), deleteAfterUse), useDecoder_(useDecoder) {
  InstallMediaClips();
}

TDShowSoundFile::~TDShowSoundFile() { CloseFile(); }

void TDShowSoundFile::Open() {
  if (Failed(TFilterGraph::Create(graph_)) || !graph_) throw Exception("Failed to create FilterGraph");
  try {
    BuildGraph();
  } catch (...) {
    Close();
    throw;
  }
}

void TDShowSoundFile::BuildGraph() {
  if (useDecoder_) {
    try {
      if (Failed(CreateMp3DecoderFilter(decoder_)) || !decoder_) throw Exception("Failed to create decoder");
    } catch (const Exception&) {
      useDecoder_ = false;
      decoder_.reset();
      BuildGraph();
      return;
    }
    BuildWithDecoder();
    return;
  }
  if (Failed(graph_->RenderFile(QFile::decodeName(Path())))) throw Exception("Failed to render file");
}

void TDShowSoundFile::BuildWithDecoder() {
  if (Failed(graph_->AddFilter(decoder_.get()))) throw Exception("Failed to add filter");
  if (Failed(decoder_->Load(QFile::decodeName(Path())))) throw Exception("Failed loading file");
  if (Failed(decoder_->FindPin(QStringLiteral("Raw Audio 0"), &outputPin_)) || outputPin_ == nullptr) {
    throw Exception("Failed to find pin");
  }
  if (Failed(graph_->Render(outputPin_))) throw Exception("Failed to render pin");
}

void TDShowSoundFile::Play() {
  graph_->SetPositions(0);
  graph_->Run();
}

bool TDShowSoundFile::IsPlaying() {
  if (!graph_) return false;
  TFilterState state = TFilterState::Stopped;
  if (Failed(graph_->GetState(kInfinite, &state))) return true;
  return state == TFilterState::Running;
}

void TDShowSoundFile::Stop() {
  looping_ = false;
  if (graph_) graph_->Stop();
}

void TDShowSoundFile::PlayLooped() {
  if (!graph_) return;
  looping_ = true;
  while (looping_) {
    Play();
    long code = 0;
    graph_->WaitForCompletion(kInfinite, &code);
    if (code != kEventComplete) break;  // stopped, or the play could not start
  }
}

void TDShowSoundFile::Close() {
  if (graph_) graph_->Stop();
  outputPin_ = nullptr;
  graph_.reset();
  decoder_.reset();
}

}  // namespace zabko
