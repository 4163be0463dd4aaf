#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace rkvt::ui {

// One row of the parameter list, parsed from its markup:
//   leading blanks        indent
//   <IND x="150">         the drawing position moves to column x (design pixels)
//   <A href="Key">v</A>   a value link: key and value text
//   <HR>                  a separator line under the row
// A "</A>" with no link open (section rows end in one) and unknown tags draw
// nothing; a "<" without its ">" is text. Nothing in a row can fail to parse.
struct ParamRowMarkup {
  struct Piece {
    enum class Kind { Text, Column, Link };
    Kind kind;
    QString text;  // Text and Link
    int x = 0;     // Column
  };

  static ParamRowMarkup Parse(const QString& markup);

  bool HasLink() const { return link >= 0; }
  const QString& Value() const { return pieces[static_cast<std::size_t>(link)].text; }
  // Replaces the link's value text, in the pieces and in the markup.
  void SetValue(const QString& value);
  // What a screen reader says: blanks collapsed, a column move read as a
  // blank. With `valueAt`, where the value text starts and ends in it.
  QString PlainText(std::pair<int, int>* valueAt = nullptr) const;

  QString markup;  // as given, with the current value text
  int indent = 0;  // leading blanks
  std::vector<Piece> pieces;
  int link = -1;  // index of the Link piece, or -1
  QString key;
  bool separator = false;

 private:
  int valueStart_ = -1;  // the link's value text in markup
  int valueLength_ = 0;
};

}  // namespace rkvt::ui
