// The program's long-lived objects: created once at start-up, reached through App().
#pragma once

class _multiuser;

struct Aplicacion {
    _multiuser *Multiuser = nullptr;
    // Each window that lives for the whole run is added here by the task that builds it
    // (TFormMain *FormMain, TFormLogin *FormLogin, TFRMGestionusers *FRMGestionusers, ...),
    // named as the system names its global object.
};

// The one application object; its members are null until start-up creates them.
Aplicacion &App();
