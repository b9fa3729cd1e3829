// A scripted stand-in for the multimedia calls: answers MCI commands from a
// script, copies replies as mciSendStringA does, and records every call.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "saver/music/bgm.h"

namespace tremblix {

class FakeMusicDevice : public MusicDevice {
 public:
  struct Answer {
    uint32_t status = 0;
    std::string reply;
  };
  struct SoundCall {
    bool has_sound;
    std::string sound;
    uint32_t flags;
  };

  uint32_t SendCommand(const std::string& command, char* reply, uint32_t length) override {
    sent.push_back(command);
    reply_lengths.push_back(length);
    Answer answer;
    auto found = answers.find(command);
    if (found != answers.end()) answer = found->second;
    // A command with no answer leaves the buffer as it was; an answer is cut
    // to the buffer, with room for its NUL.
    if (reply != nullptr && length > 0 && answer.status == 0 && !answer.reply.empty()) {
      size_t size = std::min<size_t>(answer.reply.size(), length - 1);
      std::memcpy(reply, answer.reply.data(), size);
      reply[size] = '\0';
    }
    return answer.status;
  }

  bool ErrorText(uint32_t error, char* text, uint32_t length) override {
    auto found = error_texts.find(error);
    if (found == error_texts.end() || length == 0) return false;
    size_t size = std::min<size_t>(found->second.size(), length - 1);
    std::memcpy(text, found->second.data(), size);
    text[size] = '\0';
    return true;
  }

  bool Sound(const char* sound, uint32_t flags) override {
    sounds.push_back({sound != nullptr, sound ? sound : "", flags});
    return true;
  }

  uint32_t WaveOutDeviceCount() override { return wave_devices; }

  void Script(const std::string& command, uint32_t status, const std::string& reply = "") {
    answers[command] = {status, reply};
  }

  // Commands not in the script succeed with no reply.
  std::map<std::string, Answer> answers;
  // Codes the error-text call knows; others fail.
  std::map<uint32_t, std::string> error_texts;
  uint32_t wave_devices = 1;

  std::vector<std::string> sent;
  std::vector<uint32_t> reply_lengths;  // one per sent command
  std::vector<SoundCall> sounds;
};

}  // namespace tremblix
