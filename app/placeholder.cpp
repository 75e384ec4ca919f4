// Keeps the client library non-empty until the main window exists.
namespace zorv_placeholder { int unused = 0; }
