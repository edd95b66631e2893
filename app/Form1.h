// The main window: its controls, components, state and handlers.
#pragma once

#include "toolkit/BitBtn.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/LabeledEdit.h"
#include "toolkit/ListBox.h"
#include "toolkit/Panel.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StaticText.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/ModbusRequests.h"
#include "app/ResponseAssembly.h"
#include "comm/CommTypes.h"

class TComm;
class TSkinData;

using TPortListSource = std::function<std::vector<std::wstring>()>;

class TForm1 : public TForm {
    TK_CLASS(TForm1)
public:
    // The port list comes from the registry and the line from the system's comm functions,
    // unless a test hands in others.
    explicit TForm1(TComponent* owner, TPortListSource readPortList = {}, const TCommApi& commApi = {});
    ~TForm1() override;

    // Controls, as the window lays them out.
    TPanel* Panel1;
    TGroupBox* GroupBox4;
    TBitBtn* BitBtn8;
    TBitBtn* BitBtn9;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TBitBtn* BitBtn7;
    TLabeledEdit* LabeledEdit6;
    TComboBox* ComboBox5;
    TComboBox* ComboBox3;
    TComboBox* ComboBox4;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn6;
    TPanel* Panel2;
    TGroupBox* GroupBox1;
    TLabeledEdit* LabeledEdit1;
    TLabel* Label5;
    TLabeledEdit* LabeledEdit2;
    TLabel* Label6;
    TBitBtn* BitBtn2;
    TCheckBox* checkbox1;
    TGroupBox* GroupBox2;
    TLabel* Label4;
    TSpinEdit* LabeledEdit3;
    TStaticText* StaticText1;
    TComboBox* ComboBox1;
    TStaticText* StaticText2;
    TComboBox* ComboBox2;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn4;
    TGroupBox* GroupBox3;
    TListBox* ListBox1;
    TButton* Button1;
    TBitBtn* BitBtn5;
    TStatusBar* StatusBar1;

    // Components without a window.
    TComm* Comm1;
    TTimer* Timer1;
    TTimer* Timer2;
    TTimer* Timer3;
    TSkinData* SkinData1;

    // Window state.
    std::vector<std::wstring> PortList;
    bool Connected = false;
    std::uint8_t BaudIndex = 0;
    TFrameBuffer RequestFrame{};     // the last request built; repeats send it again
    std::uint8_t RequestAddress = 0; // the slave the last addressed request went to
    TPendingRequest PendingRequest = TPendingRequest::None;
    TFrameBuffer ReceiveBuffer{};    // the frame under examination, zero beyond FrameLength
    int FrameLength = 0;
    TFrameBuffer AssemblyBuffer{};   // pieces of an answer that did not check yet
    int AssemblyCount = 0;           // bytes of an answer collected so far, at most 255
    bool ContinuousMode = false;
    int SuccessCount = 0;            // answers and time-outs of the current continuous reading
    int FailureCount = 0;
    bool RetryDone = false;          // the unanswered request has been sent again once
    int NextAutoAddress = 0;         // written by the next assign request; low 16 bits go out

    // Hands a frame to the port and gives the line 30 ms; always reports success.
    bool SendFrame(const std::uint8_t* frame, size_t length);
    void AddLogLine(const std::wstring& line, bool select);
    static std::wstring TxLine(const std::uint8_t* frame, size_t length);

    // Handlers.
    void FormCreate(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void BitBtn5Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Comm1ReceiveData(TObject* Sender, const void* Buffer, std::uint16_t BufferLength);
    void Comm1RequestHangup(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void BitBtn7Click(TObject* Sender);
    void BitBtn8Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn9Click(TObject* Sender);
    void Timer3Timer(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    void CreateComponents(const TCommApi& commApi); // the window's description, in Form1Layout.cpp
    void ConnectEvents();
    void SetConnectedState(bool connected);
    void StartPortListRefresh();

    // The answer classes' effects on the window, timers and log.
    void ShortReadAnswer(const TReceivedFrame& frame);
    void RefusalAnswer(const TReceivedFrame& frame);
    void WriteEchoAnswer(const TReceivedFrame& frame);
    void ReadAnswer(const TReceivedFrame& frame);
    std::wstring ShowDeviceAddress(const TReceivedFrame& frame);
    void ShowStatistics();
    void ShowCommState(const wchar_t* text);
    // RequestFrame as built last: sent (again) and logged.
    void SendRequest();
    void LogRequest(bool select);
    void SendAssignAddress();
    void ArmTimeout(unsigned interval);
    void SetContinuousControlsEnabled(bool enabled);
    void SetAddressingControlsEnabled(bool enabled);
    std::uint8_t TypedAddress() const;
    void EndAutoAddressing();

    TPortListSource FReadPortList;
    size_t FRequestLength = kRequestLength; // of the frame in RequestFrame, for repeats
};

// Status bar panels the handlers write.
constexpr size_t kPortStatePanel = 1;
constexpr size_t kCommStatePanel = 5;
constexpr size_t kStatisticsPanel = 7;
