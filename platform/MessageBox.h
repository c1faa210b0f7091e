// The one way the program shows an error or information box. Every box goes through
// ShowMessage, so a test can install a capturing stand-in and read the text and pick
// the answer instead of blocking on a modal window.
#pragma once

#include <QString>
#include <vector>

class QWidget;

// The icon of a box.
enum class TMessageKind { Error, Information };
// The buttons of a box: one OK button, or Yes and No.
enum class TMessageButtons { Ok, YesNo };
// The button the user pressed (Ok for a box with one OK button).
enum class TMessageAnswer { Ok, Yes, No };

// The message-box service. Texts break lines with CR (code 13) as the program writes
// them; an implementation shows them as line breaks.
class TMessageBoxes {
public:
  virtual ~TMessageBoxes() = default;
  // Shows a modal box and returns the answer.
  virtual TMessageAnswer Show(TMessageKind kind, const QString& text, TMessageButtons buttons) = 0;
};

// The real boxes: QMessageBox with the application name in the caption.
class TQtMessageBoxes : public TMessageBoxes {
public:
  TMessageAnswer Show(TMessageKind kind, const QString& text, TMessageButtons buttons) override;
};

// Shows a box through the service in force (the real boxes unless a capture is installed).
TMessageAnswer ShowMessage(TMessageKind kind, const QString& text,
                           TMessageButtons buttons = TMessageButtons::Ok);

// One box as a capture saw it; Text keeps its CR line breaks.
struct TCapturedMessage {
  TMessageKind Kind = TMessageKind::Error;
  QString Text;
  TMessageButtons Buttons = TMessageButtons::Ok;
};

// A stand-in for tests: while it lives every box is recorded instead of shown. Boxes with
// Yes and No are answered with YesNoAnswer. Captures nest; the innermost one is in force.
class TMessageCapture : public TMessageBoxes {
public:
  TMessageCapture();
  ~TMessageCapture() override;
  TMessageCapture(const TMessageCapture&) = delete;
  TMessageCapture& operator=(const TMessageCapture&) = delete;

  TMessageAnswer Show(TMessageKind kind, const QString& text, TMessageButtons buttons) override;

  // Every box shown since the capture was made (or cleared), oldest first.
  const std::vector<TCapturedMessage>& Messages() const { return FMessages; }
  // Forgets the boxes seen so far.
  void Clear() { FMessages.clear(); }
  // The answer given to boxes with Yes and No (Yes unless set).
  TMessageAnswer YesNoAnswer = TMessageAnswer::Yes;

private:
  std::vector<TCapturedMessage> FMessages;
  TMessageBoxes* FPrevious;
};

// The box text as Qt shows it: CR, CR LF and LF all become one line break each.
QString MessageTextForDisplay(const QString& text);
