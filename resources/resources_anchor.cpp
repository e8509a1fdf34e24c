// Resource libraries need one translation unit of their own; the data itself is
// compiled in by the Qt resource compiler.
namespace tarvo_resources { int anchor = 0; }
