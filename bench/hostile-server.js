// A Data API stand-in that misbehaves in one way, for bench/hostile.sh:
//
//   node bench/hostile-server.js MODE
//
// deep      GET folders answers 1,000,000 nested arrays
// huge      GET folders answers a valid JSON list of 500 MB, made as it is sent
// drip      every answer comes one byte a second
// stall     no answer ever comes
// repeat    every page of GET folders holds the same item and claims more
// endless   every page holds a new item and claims more
// reset     the connection closes as soon as a request has come
// The port goes to the first line of standard output.
const http = require("http");

const mode = process.argv[2];
let created = 0;

function folderPage(url) {
  const page = Number(url.searchParams.get("page") || 1);
  const id = mode === "repeat" ? 1 : page;
  return JSON.stringify({
    items: [{ id: id.toString(16).padStart(32, "0"), title: `Notebook ${id}`, parent_id: "" }],
    has_more: true,
  });
}

function sendHuge(response) {
  response.setHeader("Content-Type", "application/json");
  const item = JSON.stringify({ id: "0".repeat(32), title: "x".repeat(400), parent_id: "" });
  const chunk = Array(2000).fill(item).join(",") + ",";
  let sent = 0;
  response.write('{"items":[');
  const more = () => {
    while (sent < 500 * 1024 * 1024) {
      sent += chunk.length;
      if (!response.write(chunk)) return response.once("drain", more);
    }
    response.end(item + '],"has_more":false}');
  };
  response.on("error", () => {});
  more();
}

const server = http.createServer((request, response) => {
  request.on("data", () => {});
  request.on("end", () => {
    const url = new URL(request.url, "http://localhost");
    if (mode === "reset") return request.socket.destroy();
    if (mode === "stall") return;
    const folders = request.method === "GET" && url.pathname === "/folders";
    if (folders && mode === "huge") return sendHuge(response);
    let answer = JSON.stringify({ id: (++created).toString(16).padStart(32, "0"), title: "x" });
    if (folders && mode === "deep") answer = "[".repeat(1000000) + "]".repeat(1000000);
    if (folders && (mode === "repeat" || mode === "endless")) answer = folderPage(url);
    response.setHeader("Content-Type", "application/json");
    if (mode !== "drip") return response.end(answer);
    let at = 0;
    const timer = setInterval(() => {
      if (at >= answer.length || response.destroyed) {
        clearInterval(timer);
        return response.end();
      }
      response.write(answer[at++]);
    }, 1000);
  });
});
server.listen(0, "127.0.0.1", () => console.log(server.address().port));
