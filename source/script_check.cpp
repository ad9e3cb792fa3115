// The whole script checked before it runs: a misspelt word found after hours
// of QM jobs, or never (an unknown word would otherwise be skipped), costs
// far more than a pass over the text.
#include "script_check.h"

#include <algorithm>
#include <cstddef>

#include "MainScript.h"
#include "charge/section.h"
#include "errors.h"
#include "intra/section.h"
#include "io.h"
#include "util.h"

namespace {

// The lines of the script with the place each came from, read in order.
class Lines {
 public:
  explicit Lines(const Script& script) : origin_(script.origin) {
    std::string::size_type pos = 0;
    while (pos < script.text.size()) text_.push_back(UntilNextNewLine(script.text, pos));
  }
  bool More() const { return next_ < text_.size(); }
  const std::string& Next() { return text_[next_++]; }
  // Where the line taken last came from.
  std::string Where() const {
    return next_ > 0 && next_ <= origin_.size() ? origin_[next_ - 1] : "?";
  }

 private:
  std::vector<std::string> text_;
  const std::vector<std::string>& origin_;
  std::size_t next_ = 0;
};

bool IsComment(const std::string& word) {
  return word.empty() || word.starts_with("!") || word.starts_with("#");
}

[[noreturn]] void Unknown(const std::string& where, const std::string& what,
                          const std::string& word, const std::vector<std::string>& known) {
  EndProcess(1, "$ err " + where + ": unknown " + what + " " + word + "; did you mean " +
                    ClosestWord(word, known) + "?\n");
}

[[noreturn]] void Unclosed(const std::string& where, const std::string& what, const char* end) {
  EndProcess(1, "$ err " + where + ": the " + what + " that starts here has no line " + end +
                    " to close it\n");
}

// Lines of a block up to its closing word (compared as `close` says); each
// other line's first word must be one of `words`, compared lower-cased. A
// block of the optintra section also ends where the section does, at `run`
// (`inSection`); returns true when it did. With `required`, only the closing
// word may end the block.
template <class Close>
bool Block(Lines& lines, const std::string& what, const std::vector<std::string>& words,
           Close close, bool inSection, bool required) {
  const std::string start = lines.Where();
  while (lines.More()) {
    const std::string& line = lines.Next();
    const std::string word = tprint(line, 1);
    if (close(word)) return false;
    if (inSection && word == "run") {
      if (required) break;
      return true;
    }
    if (IsComment(word)) continue;
    if (std::find(words.begin(), words.end(), Lower(word)) == words.end()) {
      std::vector<std::string> known = words;
      known.push_back("end");
      Unknown(lines.Where(), "word in a " + what + " block:", word, known);
    }
  }
  if (required) Unclosed(start, what + " block", "end");
  return false;
}

bool IsEnd(const std::string& word) { return word == "end"; }
bool IsAnyCaseEnd(const std::string& word) { return Lower(word) == "end"; }

// The weight block up to "}"; returns true when the section's `run` ended it.
bool WeightBlock(Lines& lines) {
  const std::vector<std::string> weights = {"bond b0", "bond k", "angle a0", "angle dub",
                                            "angle k", "dihe k", "impr k"};
  while (lines.More()) {
    const std::string& line = lines.Next();
    if (tprint(line, 1) == "}") return false;
    if (tprint(line, 1) == "run") return true;
    if (IsComment(tprint(line, 1))) continue;
    const std::string pair = tprint(line, 1) + " " + tprint(line, 2);
    if (std::find(weights.begin(), weights.end(), pair) == weights.end())
      Unknown(lines.Where(), "weight", pair, weights);
  }
  return false;
}

// The `optintra` section up to `run`, with its blocks.
void BondSection(Lines& lines) {
  const std::string start = lines.Where();
  const auto keywords = OptimizeBondedParam::KeywordNames();
  std::vector<std::string> words;
  for (const auto& k : keywords) words.push_back(k.word);
  while (lines.More()) {
    const std::string typed = tprint(lines.Next(), 1);
    if (typed == "run") return;
    if (IsComment(typed)) continue;
    const std::string key = Lower(typed);
    const auto k = std::find_if(keywords.begin(), keywords.end(), [&](const auto& k) {
      return k.anyCase ? key == k.word : typed == k.word;
    });
    if (k == keywords.end()) Unknown(lines.Where(), "optintra keyword", typed, words);
    bool ended = false;
    if (k->word == "scan") {
      // The section is cut at the exact word end; the line after it is not read.
      Block(lines, "scan", {"f"}, IsEnd, false, true);
      if (!lines.More()) break;
      const std::string after = tprint(lines.Next(), 1);
      if (after == "run") return;
      if (!IsComment(after)) {
        EndProcess(1, "$ err " + lines.Where() +
                          ": the line right after the end of a scan block "
                          "is not read; leave it empty or make it a comment\n");
      }
    }
    if (k->word == "soft") ended = Block(lines, "soft", {"dihe", "fix"}, IsAnyCaseEnd, true, true);
    if (k->word == "multisoft")
      ended = Block(lines, "multisoft", {"dihe", "fix", "point"}, IsAnyCaseEnd, true, true);
    if (k->word == "parammultidihescan") {
      ended =
          Block(lines, "parammultidihescan", {"cutenergy", "meshsize"}, IsAnyCaseEnd, true, false);
    }
    if (k->word == "weight") ended = WeightBlock(lines);
    if (ended) return;
  }
  Unclosed(start, "optintra section", "run");
}

// The `optcharge` section up to `end`.
void ChargeSection(Lines& lines) {
  const std::string start = lines.Where();
  const std::vector<std::string> words = OptimizeCharge::KeywordNames();
  while (lines.More()) {
    const std::string word = tprint(lines.Next(), 1);
    if (word == "end") return;
    if (IsComment(word)) continue;
    if (std::find(words.begin(), words.end(), Lower(word)) == words.end())
      Unknown(lines.Where(), "optcharge keyword", word, words);
  }
  Unclosed(start, "optcharge section", "end");
}

}  // namespace

std::string ClosestWord(const std::string& word, const std::vector<std::string>& known) {
  const std::string w = Lower(word);
  std::string best;
  std::size_t bestDistance = std::string::npos;
  for (const std::string& candidate : known) {
    const std::string c = Lower(candidate);
    // Edit distance, one row at a time.
    std::vector<std::size_t> row(c.size() + 1);
    for (std::size_t j = 0; j <= c.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= w.size(); ++i) {
      std::size_t diagonal = row[0];
      row[0] = i;
      for (std::size_t j = 1; j <= c.size(); ++j) {
        const std::size_t up = row[j];
        row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (w[i - 1] == c[j - 1] ? 0 : 1)});
        diagonal = up;
      }
    }
    if (row[c.size()] < bestDistance) {
      bestDistance = row[c.size()];
      best = candidate;
    }
  }
  return best;
}

void CheckScript(const Script& script) {
  Lines lines(script);
  std::vector<std::string> commands;
  for (const auto& [key, command] : MainScript::Commands()) commands.push_back(key);
  while (lines.More()) {
    const std::string word = tprint(lines.Next(), 1);
    if (IsComment(word)) continue;
    const std::string key = Lower(word);
    if (key == "stop") return;
    if (std::find(commands.begin(), commands.end(), key) == commands.end())
      Unknown(lines.Where(), "command", word, commands);
    if (key == "constrain") Block(lines, "constrain", {"b", "d"}, IsAnyCaseEnd, false, true);
    if (key == "optcharge") ChargeSection(lines);
    if (key == "optintra") BondSection(lines);
  }
}
