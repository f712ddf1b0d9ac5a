#include "devserver/dev_protocol.h"

#include "core/cube_management.h"
#include "platform/exception.h"

#include <QCryptographicHash>

#include <algorithm>

namespace zabko::dev {

namespace {

// A failure reply: the status text and, when given, the error number of Integers[0].
struct TFailure {
  QByteArray status;
  bool hasNumber = false;
  qint32 number = 0;
};

// Error numbers of the failure replies (the client shows number + 1000).
constexpr qint32 kBadRequest = 1;
constexpr qint32 kUnknownMethod = 2;
constexpr qint32 kInternal = 3;

constexpr int kMaxQuestions = 500;
constexpr quint8 kNoResult = 0xFF;

}  // namespace

struct TDevProtocol::TCall {
  const TServerInfo& server;
  const TDataPacket& args;
  std::optional<TDevSession> session;  // set for a valid session envelope
  qint32 sessionId;
  TDataPacket& payload;
  bool wrongHash;

  const QByteArray& UserKey() const { return session->userKey; }
};

TDevProtocol::TDevProtocol(TDevStore& store, TDevWords& words, TDevFiles& files,
                           std::function<qint64()> clock, quint32 seed)
    : store_(store), words_(words), files_(files), clock_(std::move(clock)), random_(seed) {
  methods_ = {
      {"CheckVersion", {&TDevProtocol::CheckVersion, false}},
      {"LogOn", {&TDevProtocol::LogOn, false}},
      {"FindUserCube", {&TDevProtocol::FindUserCube, false}},
      {"GetFilterList", {&TDevProtocol::GetFilterList, true}},
      {"GetFilterList2", {&TDevProtocol::GetFilterList2, true}},
      {"GetWordsStatus", {&TDevProtocol::GetWordsStatus, true}},
      {"GetHotWordsData", {&TDevProtocol::GetHotWordsData, true}},
      {"GetQuestions", {&TDevProtocol::GetQuestions, true}},
      {"Game.GetQuestions", {&TDevProtocol::GameGetQuestions, false}},
      {"LogOff", {&TDevProtocol::LogOff, true}},
      {"GetDownloadFiles", {&TDevProtocol::GetDownloadFiles, false}},
      {"GetPreDownloadFiles", {&TDevProtocol::GetPreDownloadFiles, false}},
      {"UpdateDataCount", {&TDevProtocol::UpdateDataCount, false}},
      {"GetDataMetaData", {&TDevProtocol::GetDataMetaData, false}},
      {"GetDataCount", {&TDevProtocol::GetDataCount, false}},
      {"SetDataMetaData", {&TDevProtocol::SetDataMetaData, false}},
      {"UpdateWords", {&TDevProtocol::UpdateWords, true}},
      {"Game.HandShake", {&TDevProtocol::GameHandShake, false}},
      {"Game.GetDownloadFiles", {&TDevProtocol::GameGetDownloadFiles, false}},
      {"Game.GetTop10", {&TDevProtocol::GameGetTop10, false}},
      {"Game.SendStats", {&TDevProtocol::GameSendStats, false}},
  };
}

void TDevProtocol::SetGroup(const TServerInfo& cube, const std::vector<TServerInfo>& members) {
  cube_ = cube;
  members_ = members;
}

bool TDevProtocol::Summarise(const TDataPacket& request, TRequestSummary& summary) {
  if (request.StringCount() < 1 || request.BooleanCount() < 1 || request.PacketCount() < 1)
    return false;
  summary.method = request.GetString(0);
  summary.session = request.GetBoolean(0);
  const TDataPacket* inner = request.GetPacket(0);
  if (summary.session) {
    if (inner->IntegerCount() < 1 || inner->StringCount() < 1 || inner->PacketCount() < 1)
      return false;
    summary.sessionId = inner->GetInteger(0);
    summary.userName = inner->GetString(0);
    inner = inner->GetPacket(0);
  }
  auto args = std::make_shared<TDataPacket>();
  args->Assign(*inner);
  summary.arguments = std::move(args);
  return true;
}

void TDevProtocol::Handle(const TServerInfo& server, const TDataPacket& request,
                          TDataPacket& reply, bool wrongHash) {
  reply.Clear();
  auto payload = std::make_unique<TDataPacket>();
  auto fail = [&](const TFailure& failure) {
    reply.Clear();
    reply.AddString(failure.status);
    if (failure.hasNumber) reply.AddInteger(failure.number);
  };
  TRequestSummary summary;
  if (!Summarise(request, summary)) return fail({"Bad request", true, kBadRequest});
  const auto method = methods_.find(summary.method);
  if (method == methods_.end()) return fail({"Unknown method", true, kUnknownMethod});

  std::optional<TDevSession> session;
  if (summary.session) {
    session = store_.FindSession(server.name, summary.sessionId);
    if (session && session->userName != summary.userName) session.reset();
  }
  // A session envelope must name a live session, also for methods that serve guests.
  if ((method->second.needsSession || summary.session) && !session) return fail({kNotLogged});

  TCall call{server, *summary.arguments, session, summary.sessionId, *payload, wrongHash};
  store_.Begin();
  try {
    (this->*method->second.handler)(call);
    store_.Commit();
  } catch (const TFailure& failure) {
    store_.Rollback();
    return fail(failure);
  } catch (const Exception& e) {
    // A missing or mistyped argument: the packet's checked access says which.
    store_.Rollback();
    return fail({"Bad request: " + e.Message().toUtf8(), true, kBadRequest});
  } catch (const std::exception& e) {
    store_.Rollback();
    return fail({QByteArray("Server error: ") + e.what(), true, kInternal});
  }
  reply.AddString(kSuccess);
  reply.AddPacket(std::move(payload));
}

std::optional<TDevUser> TDevProtocol::CheckUser(const QByteArray& name,
                                                const QByteArray& password) {
  auto user = store_.FindUser(name);
  if (!user && config_.autoRegister && !name.isEmpty()) {
    store_.AddUser(name, password);
    user = store_.FindUser(name);
  }
  if (!user || user->password != password) return std::nullopt;
  return user;
}

QByteArray TDevProtocol::ServerNameOfUrl(const QByteArray& url) const {
  const QByteArray base = TCubeManagement::StripAccessPage(url);
  for (const TServerInfo& m : members_)
    if (m.baseUrl == base) return m.name;
  return QByteArray();
}

void TDevProtocol::CheckVersion(TCall& call) {
  call.payload.AddInteger(config_.versionNumber);
  call.payload.AddInteger(config_.serverType);
  call.payload.AddString(config_.answerText);
  call.payload.AddString(config_.link);
  call.payload.AddString(config_.exitPage1);
  call.payload.AddString(config_.exitPage2);
  call.payload.AddNewPacket()->Assign(versionMessages_);
}

void TDevProtocol::LogOn(TCall& call) {
  const QByteArray name = call.args.GetString(0);
  const QByteArray password = call.args.GetString(1);
  call.args.GetInteger(0);  // the local data count; the group's metadata decides instead
  const auto user = CheckUser(name, password);
  if (!user) {
    call.payload.AddBoolean(false);
    return;
  }
  const qint32 session = store_.NewSession(call.server.name, TDevSession{user->key, user->name});
  // The group learns its working server from the member the user logs on to.
  if (!store_.MetaData(user->key) && !ServerNameOfUrl(call.server.baseUrl).isEmpty()) {
    store_.SetMetaData(user->key, TMetaData{store_.DataCount(call.server.name, user->key),
                                            call.server.baseUrl + "AccessIn.ashx?page=CUBEMEMBER"});
  }
  call.payload.AddBoolean(true);
  call.payload.AddInteger(session);
  call.payload.AddInteger(config_.logOnValue);
  call.payload.AddBoolean(false);
  call.payload.AddString(user->key);
  call.payload.AddBoolean(false);
  TDataPacket* info = call.payload.AddNewPacket();
  info->AddString(user->name);
  info->AddInteger(store_.DataCount(call.server.name, user->key));
}

void TDevProtocol::FindUserCube(TCall& call) {
  const auto user = CheckUser(call.args.GetString(0), call.args.GetString(1));
  call.payload.AddBoolean(user.has_value());
  if (!user) return;
  call.payload.AddString(user->key);
  TDataPacket* group = call.payload.AddNewPacket();
  group->AddString("CUBE-1");
  group->AddString(cube_.baseUrl + "AccessIn.ashx?page=CUBE");
  for (size_t i = 0; i < members_.size(); ++i) {
    TDataPacket* member = group->AddNewPacket();
    member->AddString(members_[i].baseUrl + "AccessIn.ashx?page=CUBEMEMBER");
    member->AddInteger(static_cast<qint32>(i));
  }
}

void TDevProtocol::GetFilterList(TCall& call) {
  const int first = call.args.GetByte(0);
  const int last = call.args.GetByte(1);
  const int choice = call.args.GetByte(2);
  const int lang = call.args.GetInteger(0);
  const int subject = call.args.GetInteger(1);
  const int subSubject = call.args.GetInteger(2);
  const auto states = store_.WordStates(call.UserKey(), lang);
  for (const TDevWord& w : words_.Words(lang)) {
    if (w.letter < first || w.letter > last) continue;
    if (subject != -2 && w.subject != subject) continue;
    if (subSubject != -2 && w.subSubject != subSubject) continue;
    const auto it = states.find(w.id);
    const TWordState state = it == states.end() ? TWordState{} : it->second;
    // Word choice 0: words never answered right; 1: words not known yet; otherwise all. The
    // production dialog sends 0 for "only words I don't know" and 2 for "all the words".
    if (choice == 0 && (state.known || state.status != 0)) continue;
    if (choice == 1 && (state.known || state.status >= 2)) continue;
    call.payload.AddInteger(w.id);
  }
}

void TDevProtocol::GetFilterList2(TCall& call) {
  const int first = call.args.GetByte(0);
  const int last = call.args.GetByte(1);
  const int lowest = call.args.GetByte(2);
  const int highest = call.args.GetByte(3);
  const int lang = call.args.GetInteger(0);
  const auto states = store_.WordStates(call.UserKey(), lang);
  for (const TDevWord& w : words_.Words(lang)) {
    if (w.letter < first || w.letter > last) continue;
    const auto it = states.find(w.id);
    const TWordState state = it == states.end() ? TWordState{} : it->second;
    if (state.known || state.status < lowest || state.status > highest) continue;
    call.payload.AddInteger(w.id);
  }
}

void TDevProtocol::GetWordsStatus(TCall& call) {
  for (int lang : TDevWords::LanguageCodes()) {
    const auto states = store_.WordStates(call.UserKey(), lang);
    TDataPacket* known = call.payload.AddNewPacket();
    TDataPacket* counts = call.payload.AddNewPacket();
    const int letters = TDevWords::LetterCount(lang);
    std::vector<qint32> perLetter(static_cast<size_t>(letters) * 3, 0);
    for (const TDevWord& w : words_.Words(lang)) {
      const auto it = states.find(w.id);
      const TWordState state = it == states.end() ? TWordState{} : it->second;
      if (state.known) {
        known->AddInteger(w.id);
        continue;  // a word marked known leaves the status counts
      }
      if (w.letter >= 0 && w.letter < letters && state.status >= 0 && state.status <= 2)
        ++perLetter[static_cast<size_t>(w.letter) * 3 + state.status];
    }
    for (qint32 n : perLetter) counts->AddInteger(n);
  }
  call.payload.AddNewPacket()->Assign(statusMessages_);
}

void TDevProtocol::GetHotWordsData(TCall& call) {
  TDataPacket* totals = call.payload.AddNewPacket();
  totals->AddInteger(static_cast<qint32>(store_.Counter("questions")));
  totals->AddInteger(static_cast<qint32>(store_.Counter("answers")));
  const qint64 since = clock_() - config_.hotWordsWindowMs;
  for (int lang : TDevWords::LanguageCodes()) {
    TDataPacket* ids = call.payload.AddNewPacket();
    for (qint32 id : store_.HotWords(lang, since, config_.hotWordsLimit)) ids->AddInteger(id);
  }
}

void TDevProtocol::SeedDemoHotWords() {
  constexpr size_t kDemoWords = 8;
  const qint64 now = clock_();
  for (int lang : TDevWords::LanguageCodes()) {
    const std::vector<TDevWord>& all = words_.Words(lang);
    const size_t n = std::min(all.size(), kDemoWords);
    // The first word the most often, so the list keeps the catalogue's order.
    for (size_t i = 0; i < n; ++i)
      for (size_t k = i; k < n; ++k) store_.LogAnswer(lang, all[i].id, false, now);
  }
  store_.AddToCounter("questions", 1234567);
  store_.AddToCounter("answers", 89012);
}

void TDevProtocol::GetQuestions(TCall& call) {
  AddQuestions(call, call.args.GetByte(0), call.args.GetByte(1), call.args.GetInteger(0),
               call.args.GetInteger(1), call.args.GetInteger(2), call.args.GetInteger(3),
               call.args.GetBoolean(0));
}

void TDevProtocol::GameGetQuestions(TCall& call) {
  // The learning program's form ends with the order flag; the game's own has none.
  const bool inOrder = call.args.BooleanCount() > 0 && call.args.GetBoolean(0);
  AddQuestions(call, call.args.GetByte(0), call.args.GetByte(1), call.args.GetInteger(0), -2, -2,
               call.args.GetInteger(1), inOrder);
}

void TDevProtocol::AddQuestions(TCall& call, int from, int to, int lang, int subject,
                                int subSubject, int count, bool inOrder) {
  const std::vector<TDevWord>& all = words_.Words(lang);
  std::map<qint32, TWordState> states;
  if (call.session) states = store_.WordStates(call.UserKey(), lang);
  auto stateOf = [&](qint32 id) {
    const auto it = states.find(id);
    return it == states.end() ? TWordState{} : it->second;
  };
  // Words marked known are never asked: the learner took them out of the letter's counts, and
  // moving their status would skew those counts.
  std::vector<const TDevWord*> fresh;
  for (const TDevWord& w : all) {
    if (w.letter < from || w.letter > to) continue;
    if (subject != -2 && w.subject != subject) continue;
    if (subSubject != -2 && w.subSubject != subSubject) continue;
    if (!stateOf(w.id).known) fresh.push_back(&w);
  }
  if (!inOrder) std::shuffle(fresh.begin(), fresh.end(), random_);
  const size_t n = std::min<size_t>(fresh.size(), std::clamp(count, 0, kMaxQuestions));
  std::uniform_int_distribution<size_t> pick(0, all.empty() ? 0 : all.size() - 1);
  std::uniform_int_distribution<int> slot(0, 3);
  for (size_t i = 0; i < n; ++i) {
    const TDevWord& word = *fresh[i];
    std::vector<qint32> answers{word.id};
    // Three other words as the wrong answers, all four distinct.
    for (int tries = 0; answers.size() < 4 && tries < 64; ++tries) {
      const qint32 id = all[pick(random_)].id;
      if (std::find(answers.begin(), answers.end(), id) == answers.end()) answers.push_back(id);
    }
    while (answers.size() < 4) answers.push_back(-1);
    std::swap(answers[0], answers[static_cast<size_t>(slot(random_))]);
    const int current = stateOf(word.id).status;
    TDataPacket* q = call.payload.AddNewPacket();
    for (qint32 id : answers) q->AddInteger(id);
    q->AddInteger(word.id);
    q->AddByte(static_cast<quint8>(current));
    q->AddByte(static_cast<quint8>(std::min(current + 1, 2)));
    q->AddByte(static_cast<quint8>(std::max(current - 1, 0)));
  }
  store_.AddToCounter("questions", static_cast<qint64>(n));
}

void TDevProtocol::LogOff(TCall& call) {
  if (call.args.BooleanCount() < 1) throw TFailure{"Bad request", true, kBadRequest};
  call.payload.AddInteger(store_.DataCount(call.server.name, call.UserKey()));
  call.payload.AddString(call.UserKey());
  store_.EndSession(call.server.name, call.sessionId);
}

void TDevProtocol::GetDownloadFiles(TCall& call) {
  call.args.GetInteger(0);
  files_.BuildList(TFileList::Download, call.server.baseUrl, call.wrongHash, call.payload);
}

void TDevProtocol::GetPreDownloadFiles(TCall& call) {
  call.args.GetInteger(0);
  files_.BuildList(TFileList::PreDownload, call.server.baseUrl, call.wrongHash, call.payload);
}

void TDevProtocol::UpdateDataCount(TCall& call) {
  const QByteArray key = call.args.GetString(0);
  auto meta = store_.MetaData(key);
  QByteArray working = meta ? ServerNameOfUrl(meta->url) : QByteArray();
  if (working.isEmpty()) {
    // No working server known: take the member with the most data.
    qint32 best = -1;
    for (const TServerInfo& m : members_) {
      const qint32 c = store_.DataCount(m.name, key);
      if (c > best) {
        best = c;
        working = m.name;
        meta = TMetaData{c, m.baseUrl + "AccessIn.ashx?page=CUBEMEMBER"};
      }
    }
    if (working.isEmpty()) return;
  }
  meta->count = store_.DataCount(working, key);
  store_.SetMetaData(key, *meta);
}

void TDevProtocol::GetDataMetaData(TCall& call) {
  const QByteArray key = call.args.GetString(0);
  call.args.GetBoolean(0);
  // Without metadata the payload stays empty; the client reads that as "none".
  if (const auto meta = store_.MetaData(key)) {
    call.payload.AddInteger(meta->count);
    call.payload.AddString(key);
    call.payload.AddString(meta->url);
  }
}

void TDevProtocol::GetDataCount(TCall& call) {
  call.payload.AddInteger(store_.DataCount(call.server.name, call.args.GetString(0)));
}

void TDevProtocol::SetDataMetaData(TCall& call) {
  store_.SetMetaData(call.args.GetString(0),
                     TMetaData{call.args.GetInteger(0), call.args.GetString(1)});
}

void TDevProtocol::UpdateWords(TCall& call) {
  const QByteArray& key = call.UserKey();
  const qint64 now = clock_();
  // A batch sent again after a lost reply starts with the whole batch taken last (answers added
  // since may follow it): those leading entries were counted already.
  QList<QByteArray> digests;
  for (int i = 0; i < call.args.PacketCount(); ++i) {
    const TDataPacket& a = *call.args.GetPacket(i);
    QCryptographicHash digest(QCryptographicHash::Sha1);
    digest.addData(a.SaveToBytes());
    digests.append(digest.result().toHex());
  }
  const QList<QByteArray> last = store_.LastBatch(key);
  const int counted = !last.isEmpty() && digests.mid(0, last.size()) == last ? static_cast<int>(last.size()) : 0;
  bool changed = false;
  for (int i = 0; i < call.args.PacketCount(); ++i) {
    const TDataPacket& a = *call.args.GetPacket(i);
    const int lang = a.GetInteger(0);
    const qint32 id = a.GetInteger(1);
    const bool mark = a.GetBoolean(0);
    const bool positive = a.GetBoolean(1);
    const TDevWord* word = words_.Find(lang, id);
    if (mark) {
      if (!word) {
        call.payload.AddByte(kNoResult);
        continue;
      }
      TWordState state = store_.WordState(key, lang, id);
      changed = changed || state.known != positive;
      state.known = positive;  // kind 3 sets the mark, kind 4 removes it
      store_.SetWordState(key, lang, id, state);
      call.payload.AddByte(static_cast<quint8>(state.status));
      continue;
    }
    if (!word || i < counted) continue;
    TWordState state = store_.WordState(key, lang, id);
    state.status = positive ? std::min(state.status + 1, 2) : std::max(state.status - 1, 0);
    store_.SetWordState(key, lang, id, state);
    store_.LogAnswer(lang, id, positive, now);
    store_.AddToCounter("answers", 1);
    changed = true;
  }
  store_.SetLastBatch(key, digests);
  if (changed)
    store_.SetDataCount(call.server.name, key, store_.DataCount(call.server.name, key) + 1);
}

void TDevProtocol::GameHandShake(TCall& call) {
  call.args.GetInteger(0);  // the kind: 2 from the game
  QByteArray uid = call.args.StringCount() > 0 ? call.args.GetString(0) : QByteArray();
  const bool closing = call.args.IntegerCount() > 1 && call.args.GetInteger(1) != -1;
  if (uid.isEmpty()) {
    store_.AddToCounter("uid", 1);
    uid = "G" + QByteArray::number(store_.Counter("uid"));
  }
  const bool refused = !closing && !config_.handShakeRefusal.isEmpty();
  qint32 session = -1;
  if (!closing && !refused) {
    store_.AddToCounter("game-session", 1);
    session = static_cast<qint32>(store_.Counter("game-session"));
  }
  call.payload.AddString(uid);
  call.payload.AddUTFString(refused   ? config_.handShakeRefusal
                            : closing ? QString("Goodbye")
                                      : QString("Welcome to Zabkoplay"));
  call.payload.AddBoolean(!refused);
  call.payload.AddInteger(session);
}

void TDevProtocol::GameGetDownloadFiles(TCall& call) {
  files_.BuildList(TFileList::GameMusic, call.server.baseUrl, call.wrongHash, call.payload);
}

void TDevProtocol::GameGetTop10(TCall& call) {
  qint32 rank = 1;
  for (const auto& [name, points] : store_.TopScores(10)) {
    TDataPacket* row = call.payload.AddNewPacket();
    row->AddUTFString(name);
    row->AddInteger(rank++);
    row->AddInteger(points);
  }
}

void TDevProtocol::GameSendStats(TCall& call) {
  call.args.GetInteger(0);  // the kind: 1 from the game
  store_.AddScore(call.args.GetUTFString(0), call.args.GetInteger(1));
}

}  // namespace zabko::dev
