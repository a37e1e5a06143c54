#pragma once
// Kvitra's one window: empty while the job runs, the error window after a
// failed run. It carries out the run once, at its first showing, and
// implements the user-interface port the run reports through.
#include <QWidget>

#include "platform/user_interface.h"
#include "printer/run_once.h"

class QLabel;
class QPushButton;
class QTimer;

class TfrmKvitra : public QWidget, public platform::UserInterface {
  Q_OBJECT

 public:
  explicit TfrmKvitra(kvitra::JobRun& run, QWidget* parent = nullptr);

  void ShowError(const std::string& message) override;
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs = 0) override;
  void SetTitle(const std::string& title) override;
  void Minimise() override;
  void ProcessEvents() override;
  void Close() override;

  QLabel* lblBlad;
  QPushButton* btnOK;
  QTimer* Timer1;

 public slots:
  void FormActivate();
  void btnOKClick();
  void Timer1Timer();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildLayout();

  kvitra::RunOnce run_;
};
