// What SDL's audio calls in the page's script: Emscripten's own SDL port asks for these,
// a library built from Debian's sources cannot; the program calls dalvo_js_deps once.
mergeInto(LibraryManager.library, {
  dalvo_js_deps__deps: ['$autoResumeAudioContext', '$dynCall'],
  dalvo_js_deps: function () {},
});
