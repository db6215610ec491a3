// What the engine's header tool generates for UTarvolineCheckCommandlet: its parent and its script package.
#undef HOST_GENERATED_CLASS
#define HOST_GENERATED_CLASS(Body) Body(UTarvolineCheckCommandlet, UCommandlet, TarvolineEditor)
