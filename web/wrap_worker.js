// Writes fleet.js, run by Node at build time: the fleet module's script and the worker's side after it,
// as one text that the page turns into a Web Worker. A worker made from a text works from a local folder
// too, where a browser starts no worker from a file.
"use strict";
const fs = require("fs");
const [moduleScript, workerScript, output] = process.argv.slice(2);
const source = fs.readFileSync(moduleScript, "utf8") + "\n" + fs.readFileSync(workerScript, "utf8");
fs.writeFileSync(output, "window.tarifmasterFleet = " + JSON.stringify(source) + ";\n");
