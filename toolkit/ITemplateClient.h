#pragma once

class CDataExchange;

// What a template form reports to the dialog or page it belongs to.
class ITemplateClient {
public:
    virtual ~ITemplateClient() = default;
    virtual void DoDataExchange(CDataExchange& dx) = 0;
    // A push button or radio button was clicked.
    virtual void OnCommand(int id) = 0;
    // An edit's text changed; not reported while members are written to the screen.
    virtual void OnEditChange(int id) = 0;
};
